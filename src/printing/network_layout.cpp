#include "network_layout.h"

#include "job_kind.h"
#include "row.h"
#include "sheet_parts.h"
#include "value_conversion.h"

using namespace sheet_parts;

namespace {

class NetworkSheet {
  public:
    NetworkSheet(const Row& job, const SheetSettings& settings, const JobExtras& extras)
        : job_(job), settings_(settings), commands_(settings.commands), extras_(extras),
          isOrder_(job_kind::isOrderKind(job.text(QStringLiteral("출력물종류")))) {}

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
    QString field(const char16_t* column) const { return job_.text(QString::fromUtf16(column)); }
    void send(const QString& text) { steps_.push_back(LayoutStep::write(text)); }
    void processEvents() { steps_.push_back(LayoutStep::processEvents()); }

    QString orderNumberSuffix() const {
        return hasNoOrderNumber(job_) ? QString() : QStringLiteral(" # ") + field(u"주문번호");
    }

    // The header stays centred in double size from its first send to the separator.
    void header() {
        send(commands_.alignCenter + commands_.doubleSize);
        send(crlf + crlf);
        if (settings_.foodCourtHeader) {
            send(QStringLiteral("주문서") + orderNumberSuffix() + crlf + crlf);
            pagerLine();
            const QString corner = field(u"코너명");
            if (!trimBlanks(corner).isEmpty() && !isDelivery(job_)) {
                send(corner + QStringLiteral(" 에서 ") + crlf +
                     QStringLiteral("주문한 음식을 받으세요") + crlf + crlf);
            }
        } else {
            if (settings_.headline) {
                send(QStringLiteral("주문서 (") + field(u"신규추가여부") + QStringLiteral(")") +
                     orderNumberSuffix() + crlf + crlf);
            }
            pagerLine();
        }
        if (field(u"결제여부") == QStringLiteral("미결")) {
            send(QStringLiteral("[현금미결: ") + wonAmount(job_.value(QStringLiteral("미결금액"))) +
                 QStringLiteral("원]") + crlf + crlf);
        }
        if (!field(u"주문자명").isEmpty()) {
            send(QStringLiteral("주문자명 : (") + field(u"주문자명") + QStringLiteral(")") + crlf +
                 crlf);
        }
        send(commands_.sizeNormal);
        send(separatorLine(settings_));
    }

    void pagerLine() {
        if (!field(u"진동벨번호").isEmpty()) {
            send(QStringLiteral("호출번호 # ") + field(u"진동벨번호") + crlf + crlf);
        }
    }

    void tableBlock() {
        const QString table = field(u"테이블명");
        if (table.isEmpty()) {
            return;
        }
        const qint16 guests = settings_.postPaid && isDelivery(job_) ? 0 : extras_.guestCount;
        send(commands_.doubleSize);
        send(QStringLiteral("테이블  : ") + table + QStringLiteral("  ") +
             (guests != 0 ? QStringLiteral("(%1명)").arg(guests) : QString()) + crlf);
        send(commands_.sizeNormal);
        send(separatorLine(settings_));
    }

    void body() {
        send(commands_.kitchenSize);
        send(commands_.alignLeft);
        processEvents();
        for (const QString& line : bodyLines(field(u"프린트내용"))) {
            const QString trimmed = trimBlanks(line);
            send(commands_.alignLeft);
            send(settings_.option72 && trimmed.startsWith(QStringLiteral("* "))
                     ? margin(settings_) + commands_.doubleHeight + line + commands_.sizeNormal +
                           crlf
                     : commands_.kitchenSize + margin(settings_) + trimmed + crlf);
            send(commands_.alignLeft);
            send(commands_.sizeNormal);
            processEvents();
            steps_.push_back(LayoutStep::wait(settings_.receiptDelayMs));
        }
    }

    void footer() {
        if (isOrder_) {
            send(commands_.alignCenter + separatorLine(settings_));
            send(commands_.sizeNormal + commands_.alignCenter + QStringLiteral("주문일시 : ") +
                 dateStamp(extras_.printedAt) + crlf);
        }
        send(commands_.alignLeft);
        send(commands_.sizeNormal);
        const QString corner = field(u"코너명");
        if (isDelivery(job_) && !corner.isEmpty()) {
            send(commands_.doubleHeight + QStringLiteral("  비고 : ") + corner.left(15) +
                 commands_.sizeNormal + crlf);
        }
        send(extras_.bottomMargin);
        if (settings_.autoCut) {
            send(commands_.cut + crlf);
        }
        processEvents();
    }

    const Row& job_;
    const SheetSettings& settings_;
    const PrinterCommands& commands_;
    const JobExtras& extras_;
    const bool isOrder_;
    LayoutSteps steps_;
};

} // namespace

LayoutSteps networkLayout(const Row& job, const SheetSettings& settings, const JobExtras& extras) {
    return NetworkSheet(job, settings, extras).build();
}
