#include "serial_layout.h"

#include "job_kind.h"
#include "row.h"
#include "sheet_builder.h"
#include "sheet_parts.h"
#include "value_conversion.h"

using namespace sheet_parts;

namespace {

class SerialSheet : private SheetBuilder {
public:
    SerialSheet(const Row& job, const SheetSettings& settings, const JobExtras& extras)
        : SheetBuilder(job, settings, extras) {}

    LayoutSteps build() {
        write(commands_.alignCenter);
        write(commands_.doubleSize);
        if (isOrder_) {
            header();
        }
        tableBlock();
        body();
        footer();
        return std::move(steps_);
    }

private:
    QString orderTitle() const {
        return hasNoOrderNumber(job_) ? QStringLiteral("주문서")
                                      : QStringLiteral("주문번호 : ") + field(u"주문번호");
    }

    void header() {
        write(crlf + crlf);
        if (settings_.foodCourtHeader) {
            foodCourtHeader();
        } else {
            headline();
        }
        if (field(u"결제여부") == QStringLiteral("미결")) {
            write(QStringLiteral("[현금미결 : ") +
                  wonAmount(job_.value(QStringLiteral("미결금액"))) + QStringLiteral("원]") + crlf +
                  crlf);
        }
        if (!field(u"주문자명").isEmpty()) {
            write(commands_.alignCenter);
            write(QStringLiteral("주문자명 :") + QStringLiteral(" (") + field(u"주문자명") +
                  QStringLiteral(")") + crlf + crlf);
        }
        write(commands_.sizeNormal);
        write(commands_.alignLeft);
        write(separatorLine(settings_));
    }

    void foodCourtHeader() {
        write(commands_.alignCenter);
        write(orderTitle() + crlf + crlf);
        pagerLine();
        const QString corner = field(u"코너명");
        if (!trimBlanks(corner).isEmpty() && !isDelivery(job_)) {
            write(commands_.alignCenter);
            write(corner + QStringLiteral(" 에서 ") + crlf +
                  QStringLiteral("주문한 음식을 받으세요") + crlf + crlf);
        }
    }

    void headline() {
        if (settings_.headline) {
            write(commands_.alignCenter);
            write(QStringLiteral("[") + field(u"신규추가여부") + QStringLiteral("]") +
                  orderTitle() + crlf + crlf);
        }
        pagerLine();
    }

    void pagerLine() {
        if (!field(u"진동벨번호").isEmpty()) {
            write(QStringLiteral("호출번호 : ") + field(u"진동벨번호") + crlf + crlf);
        }
    }

    void tableBlock() {
        const QString table = field(u"테이블명");
        if (settings_.postPaid) {
            if (isOrder_ && !table.isEmpty()) {
                tableLines(postPaidTableLine(table));
            }
        } else if (!table.isEmpty()) {
            tableLines(QStringLiteral("테이블 : ") + table + QStringLiteral(" ") + crlf);
        }
    }

    QString postPaidTableLine(const QString& table) const {
        const qint16 guests = isDelivery(job_) ? qint16{0} : extras_.guestCount;
        return (isNumericText(table) ? QStringLiteral("테이블 : ") : QString()) + table +
               QStringLiteral(" ") +
               (guests != 0 ? QStringLiteral("(%1명)").arg(guests) : QString()) + crlf;
    }

    void tableLines(const QString& line) {
        write(commands_.doubleSize);
        write(commands_.alignCenter);
        write(line);
        write(commands_.sizeNormal);
        write(commands_.alignLeft);
        write(separatorLine(settings_));
    }

    bool isMarkedItem(const QString& line) const {
        const QString trimmed = trimBlanks(line);
        return settings_.option72 && (trimmed.startsWith(QStringLiteral("* ")) ||
                                      trimmed.startsWith(QStringLiteral("└")));
    }

    void body() {
        const QStringList lines = bodyLines(bodyText());
        for (const QString& line : lines) {
            if (isOrder_) {
                write(commands_.alignLeft);
                write(isMarkedItem(line) ? margin(settings_) + commands_.doubleHeight + line +
                                               commands_.sizeNormal + crlf
                                         : margin(settings_) + commands_.kitchenSize + line + crlf);
                write(commands_.alignLeft);
                write(commands_.sizeNormal);
            } else {
                if (kind_ != job_kind::ticket) {
                    write(commands_.sizeNormal + commands_.alignLeft);
                }
                write(line + crlf);
            }
            wait(settings_.receiptDelayMs);
        }
        if (!lines.isEmpty()) {
            wait(15 * static_cast<int>(lines.size()));
        }
    }

    void footer() {
        if (isOrder_) {
            write(separatorLine(settings_));
        }
        closingLines(16);
        if (settings_.autoCut && kind_ != job_kind::cashDrawer && kind_ != job_kind::ticket) {
            write(commands_.cut);
        }
    }
};

} // namespace

LayoutSteps serialLayout(const Row& job, const SheetSettings& settings, const JobExtras& extras) {
    return SerialSheet(job, settings, extras).build();
}
