#include "printer_lanes.h"

#include "network_lane_printer.h"
#include "serial_lane_printer.h"

#include <numeric>

PrinterLanes::PrinterLanes(QString programFolder, Pauses& pauses)
    : programFolder_(std::move(programFolder)), pauses_(pauses) {}

PrinterLanes::~PrinterLanes() = default;

QString PrinterLanes::serialPortName(qint16 portNumber) {
    return QStringLiteral("COM%1").arg(portNumber);
}

void PrinterLanes::handToSerialPort(qint16 portNumber, LaneJob job) {
    hand(
        serialPortName(portNumber),
        [folder = programFolder_, portNumber, &pauses = pauses_] {
            return std::make_unique<SerialLanePrinter>(folder, portNumber, pauses);
        },
        std::move(job));
}

void PrinterLanes::handToNetworkPrinter(const NetworkPrinterAddress& printer, LaneJob job) {
    hand(
        printer.printerName(),
        [printer, &pauses = pauses_, &connections = connections_] {
            return std::make_unique<NetworkLanePrinter>(printer, pauses, connections);
        },
        std::move(job));
}

int PrinterLanes::jobsHeld() const {
    return std::accumulate(held_.begin(), held_.end(), 0);
}

void PrinterLanes::hand(const QString& printerName, const LanePrinterFactory& makePrinter,
                        LaneJob job) {
    std::unique_ptr<PrinterLane>& lane = lanes_[printerName];
    if (!lane) {
        lane = std::make_unique<PrinterLane>(makePrinter, pauses_);
    }
    ++held_[printerName];
    job.done = [this, printerName, done = std::move(job.done)](const LaneOutcome& outcome) {
        --held_[printerName];
        done(outcome);
    };
    lane->hand(std::move(job));
}
