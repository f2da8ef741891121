#pragma once

#include "layout_steps.h"
#include "serial_layout.h"
#include "sheet_settings.h"

class Row;

// The ticket of one job for a network printer, send by send. Close to the serial ticket but
// with its own labels, a table line for every kind, trimmed body lines, a centred closing
// separator and a cut for every kind. Throws ConversionError or DatabaseError when a value the
// ticket needs does not convert.
LayoutSteps networkLayout(const Row& job, const SheetSettings& settings, const JobExtras& extras);
