#pragma once

#include "layout_steps.h"
#include "printer_link.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// What a lane reports of one job, back on the thread that handed it.
struct LaneOutcome {
    enum class Result {
        done,     // the ticket printed and confirmed, the drawer kicked, the printer ready
        failed,   // the printer, its port or its connection failed the job
        returned, // never tried: a job before it on the same printer failed
    };

    Result result = Result::done;
    PrintedJob printed;
    // What the printer showed of itself before the job, when it got that far.
    std::optional<PrinterCheck> check;
    // The serial port's error number; 0 for a network printer.
    std::int32_t errorNumber = 0;
    QString description;
    // A network printer with which no connection stood.
    bool unreachable = false;
};

// One piece of work for one printer: a ticket as its layout gives it (writes and pauses), a
// drawer kick, or a question about the printer's state.
struct LaneJob {
    enum class Kind { ticket, drawerKick, stateCheck };

    Kind kind = Kind::ticket;
    LayoutSteps steps;
    QByteArray kick;
    // A serial port's line settings, as the job or the terminal's settings give them.
    QString serialSettings;
    // The pause after the job, before the printer's next one.
    int pauseAfterMs = 0;
    // Called with the outcome on the thread that handed the job.
    std::function<void(const LaneOutcome&)> done;
};
