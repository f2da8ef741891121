#pragma once

#include "sheet_settings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

class Row;

// Pieces both ticket layouts are built from.
namespace sheet_parts {

inline const QString crlf = QStringLiteral("\r\n");

// 좌측여백 blanks. Throws ConversionError when the setting is not a number.
QString margin(const SheetSettings& settings);
// The margin, 40 hyphens, CR LF.
QString separatorLine(const SheetSettings& settings);
// A delivery order: the table name begins with "배달".
bool isDelivery(const Row& job);
// 주문번호 is 0; a null order number is not 0.
bool hasNoOrderNumber(const Row& job);
// An amount in won grouped by three with commas, no decimals: 12,500.
QString wonAmount(const QVariant& amount);
// Whether a table name reads as a number (digits with an optional sign and decimal point).
bool isNumericText(const QString& text);
// The body's lines: every piece before a CR LF. The text after the last CR LF is not a line.
QStringList bodyLines(const QString& body);
// The moment of printing as "YYYY-MM-DD HH:MM:SS".
QString dateStamp(const QDateTime& printedAt);

} // namespace sheet_parts
