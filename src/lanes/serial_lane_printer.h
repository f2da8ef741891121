#pragma once

#include "lane_printer.h"
#include "serial_printer_port.h"

class Pauses;

// A printer on one serial port of this terminal: its kitchen jobs and the drawer kicks through
// it take turns on one lane, so the port is never opened twice at once. Every job opens the
// port with its own line settings and closes it again, as a drawer kick does.
class SerialLanePrinter final : public LanePrinter {
public:
    SerialLanePrinter(const QString& programFolder, qint16 portNumber, Pauses& pauses);

    LaneOutcome serve(const LaneJob& job) override;
    void rest() override { port_.close(); }

private:
    void openWith(const QString& settings);
    LaneOutcome printTicket(const LaneJob& job);
    void kickDrawer(const LaneJob& job);

    SerialPrinterPort port_;
    qint16 portNumber_;
    Pauses& pauses_;
};
