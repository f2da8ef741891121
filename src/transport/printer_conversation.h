#pragma once

#include "printer_link.h"
#include "printer_status.h"

#include <optional>

// A job counts as printed only when the printer says so; these limits say how long the program
// listens before it gives a job up.
struct PrinterLimits {
    // Nothing moves: no byte taken and no answer that the printer is printing. A network printer
    // that left the system's probes unanswered this long is gone.
    int stallMs = 15000;
    // A printer that keeps reporting a stop (paper end, cover open, offline), or that holds its
    // busy line before it is asked why.
    int stopMs = 3000;
    // Whether a printer answers at all, once per opening of its port or connection.
    int probeMs = 300;
    // One status answer of a printer known to answer; its confirmation when nothing is pending.
    int answerMs = 1000;
    int pollMs = 100;
    // A whole job, however well it moves: its bytes and what the printer's buffer may still hold,
    // at the slowest printer's speed (an impact printer), and a margin.
    int slowestBytesPerSecond = 250;
    qint64 printerBufferBytes = 4096;
    int jobMarginMs = 15000;

    qint64 jobLimitMs(qint64 jobBytes) const {
        return jobMarginMs + (jobBytes + printerBufferBytes) * 1000 / slowestBytesPerSecond;
    }
};

// What the program found out about a printer in this run.
struct PrinterFindings {
    // It answered a status request: silent later, it is taken as switched off.
    bool answered = false;
    // Whether it confirms printing (answers GS r), once found out.
    std::optional<bool> confirms;
};

// The status requests the program sends a printer between jobs, never inside one but for a
// printer that holds its busy line.
class PrinterConversation {
public:
    explicit PrinterConversation(PrinterLink& link, const PrinterLimits& limits = {})
        : link_(link), limits_(limits) {}

    // Whether the printer answers a status request: within a short wait, or within the time of
    // any answer when it answered before; one that answered before and is silent now fails the
    // link.
    bool probe(PrinterFindings& findings);
    // Before a job on a printer that answers: that it can print (the link fails when it cannot
    // or does not answer) and, the first time, whether it confirms printing.
    PrinterCheck checkReady(PrinterFindings& findings);
    // After a job's last byte: returns once the printer has printed everything sent, or fails
    // the link when it keeps reporting a stop, nothing moves for the stall limit, the printer is
    // gone, or the job's limit passes.
    PrintedJob confirmPrinted(qint64 jobBytes);
    // For a printer that cannot confirm printing: returns once the link holds nothing more, or
    // fails it when the printer is gone, the bytes stall (where they may not wait) or the job's
    // limit passes. Where the link cannot count what the system holds, a printer that answers
    // status requests tells instead: it answers one sent behind the job once it read the job.
    void waitUntilTaken(qint64 jobBytes, bool answerTellsTaken = false);
    // While the printer holds its busy line: printing a full buffer, or stopped. Once it held it
    // for the stop limit it is asked why (when it answers at all): a stop it reports fails the
    // link with its reason, an answer that it prints is progress. Fails the link when nothing
    // moves for the stall limit, or the line stays held longer than printing a full buffer takes.
    void waitWhileBusy(bool mayAsk);

private:
    bool confirmsWithNothingPending();
    void requireReady();
    void require(printer_status::Request request);
    std::optional<char> ask(printer_status::Request request, int waitMs);
    std::optional<char> awaitByte(bool (*wanted)(char), int waitMs);

    PrinterLink& link_;
    PrinterLimits limits_;
    printer_status::PrinterState state_;
    bool knowsOnline_ = false;
};
