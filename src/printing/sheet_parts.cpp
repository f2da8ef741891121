#include "sheet_parts.h"

#include "row.h"
#include "value_conversion.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace sheet_parts {

QString margin(const SheetSettings& settings) {
    return QString(leftMarginBlanks(settings.leftMargin), QLatin1Char(' '));
}

QString separatorLine(const SheetSettings& settings) {
    return margin(settings) + QString(40, QLatin1Char('-')) + crlf;
}

bool isDelivery(const Row& job) {
    return job.text(QStringLiteral("테이블명")).startsWith(QStringLiteral("배달"));
}

bool hasNoOrderNumber(const Row& job) {
    const std::optional<double> number = numberOf(job.value(QStringLiteral("주문번호")));
    return number && *number == 0.0;
}

QString wonAmount(const QVariant& amount) {
    const double won = toDouble(amount, QStringLiteral("미결금액"));
    // No whole number of won beyond 64 bits: such an amount is a broken row, not a bill.
    if (!(std::abs(won) < 9.2e18)) {
        throw ConversionError(ConversionError::Kind::Overflow,
                              QStringLiteral("오버플로 (미결금액: '%1')").arg(amount.toString()));
    }
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(std::llround(won)));
}

bool isNumericText(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    return number.match(text).hasMatch();
}

QStringList bodyLines(const QString& body) {
    QStringList lines = body.split(crlf);
    lines.removeLast();
    return lines;
}

QString dateStamp(const QDateTime& printedAt) {
    return printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace sheet_parts
