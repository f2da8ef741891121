#pragma once

#include "layout_steps.h"
#include "serial_layout.h"
#include "sheet_settings.h"

class Row;

// What both ticket builders share: the job, its settings, and the steps built so far.
class SheetBuilder {
protected:
    SheetBuilder(const Row& job, const SheetSettings& settings, const JobExtras& extras);

    // A column of the job with every control character turned into a blank.
    QString field(const char16_t* column) const;
    // The ticket body as the terminal wrote it, its commands included.
    QString bodyText() const;
    void write(const QString& text) { steps_.push_back(LayoutStep::write(text)); }
    void wait(int ms) { steps_.push_back(LayoutStep::wait(ms)); }
    void processEvents() { steps_.push_back(LayoutStep::processEvents()); }

    // The closing lines every ticket shares, after its separator: the date stamp of order kinds
    // (centred, normal size), left-justified normal size again, the remark of a delivery order
    // cut to `remarkLength` characters, and the bottom margin.
    void closingLines(int remarkLength);

    const Row& job_;
    const SheetSettings& settings_;
    const PrinterCommands& commands_;
    const JobExtras& extras_;
    const QString kind_;
    const bool isOrder_; // order sheets and kitchen messages
    LayoutSteps steps_;
};
