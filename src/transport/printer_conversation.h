#pragma once

#include "printer_link.h"
#include "printer_status.h"

#include <optional>

// A job counts as printed only when the printer says so; these limits say how long the program
// listens before it gives a job up.
namespace printer_limits {
// Nothing moves: no byte taken and no answer that the printer is printing. An impact printer
// with a full buffer opens its TCP window only every few seconds.
constexpr int stallMs = 15000;
// A printer that keeps reporting a stop (paper end, cover open, offline).
constexpr int stopMs = 3000;
// Whether a printer answers at all, once per opening of its port or connection.
constexpr int probeMs = 300;
// One status answer of a printer known to answer.
constexpr int answerMs = 1000;
constexpr int pollMs = 100;
} // namespace printer_limits

// The status requests the program sends a printer between jobs, never inside one.
class PrinterConversation {
public:
    explicit PrinterConversation(PrinterLink& link) : link_(link) {}

    // Whether the printer answers a status request: within a short wait, or within the time of
    // any answer when it is known to answer.
    bool probe(bool answeredBefore);
    // Asks whether the printer can print (whether it is online only when probe() did not
    // just tell); fails the link when it cannot or does not answer.
    void requireReady();
    // After a job's last byte: returns once the printer has printed everything sent, or fails
    // the link when it keeps reporting a stop or nothing moves for the stall limit.
    PrintedJob confirmPrinted();
    // For a printer that cannot be asked: returns once the link holds nothing more, or fails it
    // when that does not move for the stall limit.
    void waitUntilTaken();

private:
    std::optional<char> ask(printer_status::Request request, int waitMs);
    void require(printer_status::Request request);

    PrinterLink& link_;
    printer_status::PrinterState state_;
    bool knowsOnline_ = false;
};
