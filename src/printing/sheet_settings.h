#pragma once

#include "printer_commands.h"

#include <QString>
#include <QVariant>

class PosDatabase;

// What the layouts take from the terminal's settings, read once per job.
struct SheetSettings {
    PrinterCommands commands;
    bool foodCourtHeader = false; // 푸드코트명표시: order number, pager, pick-up corner
    bool headline = false;   // 주문서에헤드라인표시: new/added marker and order number
    QVariant leftMargin = 0; // 좌측여백: blanks before separator and body lines
    bool postPaid = false;   // 포스타입 후불형: table line with guest count
    bool autoCut = false;    // 주문서자동컷팅
    bool option72 = false;   // marked item lines in double height
    int receiptDelayMs = 10; // pause after each body line
};

// 좌측여백 as blanks: none for a negative number, at most a whole 48-column line. Throws
// ConversionError when the value is not a number.
int leftMarginBlanks(const QVariant& value);

// Throws DatabaseError when the settings row lacks a column. The left margin is taken as it
// stands: only a layout that writes it converts it, so that a ticket or a plain job prints
// whatever the setting holds.
SheetSettings sheetSettingsOf(const PosDatabase& database, const PrinterCommands& commands);
