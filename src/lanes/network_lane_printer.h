#pragma once

#include "lane_printer.h"
#include "network_printer_socket.h"

class OpenConnections;
class Pauses;

// A network kitchen printer: connected when its lane has work, its jobs sent one after the
// other over the one connection, closed again once the lane has nothing more for it.
class NetworkLanePrinter final : public LanePrinter {
public:
    NetworkLanePrinter(const NetworkPrinterAddress& printer, Pauses& pauses,
                       OpenConnections& connections);

    LaneOutcome serve(const LaneJob& job) override;
    void rest() override;

private:
    bool connect();
    LaneOutcome sendTicket(const LaneJob& job);

    NetworkPrinterSocket socket_;
    QString printerName_;
    Pauses& pauses_;
    OpenConnections& connections_;
    std::intptr_t descriptor_ = -1;
};
