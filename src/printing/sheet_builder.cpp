#include "sheet_builder.h"

#include "job_kind.h"
#include "row.h"
#include "sheet_parts.h"

SheetBuilder::SheetBuilder(const Row& job, const SheetSettings& settings, const JobExtras& extras)
    : job_(job), settings_(settings), commands_(settings.commands), extras_(extras),
      kind_(job.text(QStringLiteral("출력물종류"))), isOrder_(job_kind::isOrderKind(kind_)) {}

QString SheetBuilder::field(const char16_t* column) const {
    return job_.text(QString::fromUtf16(column));
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
