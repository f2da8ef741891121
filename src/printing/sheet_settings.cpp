#include "sheet_settings.h"

#include "pos_database.h"
#include "value_conversion.h"

#include <algorithm>

namespace {

constexpr int lineColumns = 48;

bool isOne(const Row& settings, const QString& column) {
    return settings.text(column) == QLatin1String("1");
}

} // namespace

int leftMarginBlanks(const QVariant& value) {
    return std::clamp<qint32>(toInt32(value, QStringLiteral("좌측여백")), 0, lineColumns);
}

SheetSettings sheetSettingsOf(const PosDatabase& database, const PrinterCommands& commands) {
    const Row& settings = database.settings();
    SheetSettings sheet;
    sheet.commands = commands;
    sheet.foodCourtHeader = isOne(settings, QStringLiteral("푸드코트명표시"));
    sheet.headline = isOne(settings, QStringLiteral("주문서에헤드라인표시"));
    sheet.leftMargin = settings.value(QStringLiteral("좌측여백"));
    sheet.postPaid = settings.text(QStringLiteral("포스타입")) == QStringLiteral("후불형");
    sheet.autoCut = isOne(settings, QStringLiteral("주문서자동컷팅"));
    sheet.option72 = database.otherOptions().text(OtherOptions::option72Slot) == QLatin1String("1");
    sheet.receiptDelayMs = database.receiptDelayMs();
    return sheet;
}
