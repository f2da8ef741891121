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
    QVariant leftMargin;     // 좌측여백, converted where a margin is written
    bool postPaid = false;   // 포스타입 후불형: table line with guest count
    bool autoCut = false;    // 주문서자동컷팅
    bool option72 = false;   // marked item lines in double height
    int receiptDelayMs = 10; // pause after each body line
};

// Throws DatabaseError when the settings row lacks a column.
SheetSettings sheetSettingsOf(const PosDatabase& database, const PrinterCommands& commands);
