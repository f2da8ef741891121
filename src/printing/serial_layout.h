#pragma once

#include "layout_steps.h"
#include "sheet_settings.h"

#include <QDateTime>
#include <QString>

class Row;

// What a job is printed with besides its row: the bottom margin (CR LF pairs), the table's
// guest count, and the moment of printing for the date stamp.
struct JobExtras {
    QString bottomMargin;
    qint16 guestCount = 0;
    QDateTime printedAt;
};

// The ticket of one job for the terminal's serial printer, write by write. Throws
// ConversionError or DatabaseError when a value the ticket needs does not convert.
LayoutSteps serialLayout(const Row& job, const SheetSettings& settings, const JobExtras& extras);
