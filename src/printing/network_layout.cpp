#include "network_layout.h"

#include "job_kind.h"
#include "row.h"
#include "sheet_builder.h"
#include "sheet_parts.h"
#include "value_conversion.h"

using namespace sheet_parts;

namespace {

class NetworkSheet : private SheetBuilder {
public:
    NetworkSheet(const Row& job, const SheetSettings& settings, const JobExtras& extras)
        : SheetBuilder(job, settings, extras) {}

    LayoutSteps build() {
        if (isOrder_) {
            header();
        }
        tableBlock();
        body();
        footer();
        return std::move(steps_);
    }

private:
    QString orderNumberSuffix() const {
        return hasNoOrderNumber(job_) ? QString() : QStringLiteral(" # ") + field(u"주문번호");
    }

    // The header stays centred in double size from its first send to the separator.
    void header() {
        write(commands_.alignCenter + commands_.doubleSize);
        write(crlf + crlf);
        if (settings_.foodCourtHeader) {
            write(QStringLiteral("주문서") + orderNumberSuffix() + crlf + crlf);
            pagerLine();
            const QString corner = field(u"코너명");
            if (!trimBlanks(corner).isEmpty() && !isDelivery(job_)) {
                write(corner + QStringLiteral(" 에서 ") + crlf +
                      QStringLiteral("주문한 음식을 받으세요") + crlf + crlf);
            }
        } else {
            if (settings_.headline) {
                write(QStringLiteral("주문서 (") + field(u"신규추가여부") + QStringLiteral(")") +
                      orderNumberSuffix() + crlf + crlf);
            }
            pagerLine();
        }
        if (field(u"결제여부") == QStringLiteral("미결")) {
            write(QStringLiteral("[현금미결: ") +
                  wonAmount(job_.value(QStringLiteral("미결금액"))) + QStringLiteral("원]") + crlf +
                  crlf);
        }
        if (!field(u"주문자명").isEmpty()) {
            write(QStringLiteral("주문자명 : (") + field(u"주문자명") + QStringLiteral(")") + crlf +
                  crlf);
        }
        write(commands_.sizeNormal);
        write(separatorLine(settings_));
    }

    void pagerLine() {
        if (!field(u"진동벨번호").isEmpty()) {
            write(QStringLiteral("호출번호 # ") + field(u"진동벨번호") + crlf + crlf);
        }
    }

    void tableBlock() {
        const QString table = field(u"테이블명");
        if (table.isEmpty()) {
            return;
        }
        const qint16 guests =
            settings_.postPaid && isDelivery(job_) ? qint16{0} : extras_.guestCount;
        write(commands_.doubleSize);
        write(QStringLiteral("테이블  : ") + table + QStringLiteral("  ") +
              (guests != 0 ? QStringLiteral("(%1명)").arg(guests) : QString()) + crlf);
        write(commands_.sizeNormal);
        write(separatorLine(settings_));
    }

    void body() {
        write(commands_.kitchenSize);
        write(commands_.alignLeft);
        processEvents();
        for (const QString& line : bodyLines(bodyText())) {
            const QString trimmed = trimBlanks(line);
            write(commands_.alignLeft);
            write(settings_.option72 && trimmed.startsWith(QStringLiteral("* "))
                      ? margin(settings_) + commands_.doubleHeight + line + commands_.sizeNormal +
                            crlf
                      : commands_.kitchenSize + margin(settings_) + trimmed + crlf);
            write(commands_.alignLeft);
            write(commands_.sizeNormal);
            processEvents();
            wait(settings_.receiptDelayMs);
        }
    }

    void footer() {
        if (isOrder_) {
            write(commands_.alignCenter + separatorLine(settings_)); // the hyphens are centred
        }
        closingLines(15);
        if (settings_.autoCut) {
            write(commands_.cut + crlf);
        }
        processEvents();
    }
};

} // namespace

LayoutSteps networkLayout(const Row& job, const SheetSettings& settings, const JobExtras& extras) {
    return NetworkSheet(job, settings, extras).build();
}
