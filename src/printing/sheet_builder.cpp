#include "sheet_builder.h"

#include "job_kind.h"
#include "row.h"
#include "sheet_parts.h"

SheetBuilder::SheetBuilder(const Row& job, const SheetSettings& settings, const JobExtras& extras)
    : job_(job), settings_(settings), commands_(settings.commands), extras_(extras),
      kind_(job.text(QStringLiteral("출력물종류"))), isOrder_(job_kind::isOrderKind(kind_)) {}

// The short fields are typed by strangers (delivery apps, web forms): a control character in
// them would reach the printer as a command (a drawer kick, a cut, new stored settings).
QString SheetBuilder::field(const char16_t* column) const {
    QString text = job_.text(QString::fromUtf16(column));
    for (QChar& character : text) {
        if (character.unicode() < 0x20 || character.unicode() == 0x7F) {
            character = QLatin1Char(' ');
        }
    }
    return text;
}

QString SheetBuilder::bodyText() const {
    return job_.text(QStringLiteral("프린트내용"));
}

void SheetBuilder::closingLines(int remarkLength) {
    using sheet_parts::crlf;
    if (isOrder_) {
        write(commands_.sizeNormal + commands_.alignCenter + QStringLiteral("주문일시 : ") +
              sheet_parts::dateStamp(extras_.printedAt) + crlf);
    }
    write(commands_.alignLeft);
    write(commands_.sizeNormal);
    const QString corner = field(u"코너명");
    if (sheet_parts::isDelivery(job_) && !corner.isEmpty()) {
        write(commands_.doubleHeight + QStringLiteral("  비고 : ") + corner.left(remarkLength) +
              commands_.sizeNormal + crlf);
    }
    write(extras_.bottomMargin);
}
