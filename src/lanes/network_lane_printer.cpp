#include "network_lane_printer.h"

#include "layout_playback.h"
#include "network_printer_error.h"
#include "open_connections.h"
#include "pauses.h"

namespace {

// As long as a printer that is switched on takes to accept a connection.
constexpr int connectWaitMs = 3000;

} // namespace

NetworkLanePrinter::NetworkLanePrinter(const NetworkPrinterAddress& printer, Pauses& pauses,
                                       OpenConnections& connections)
    : socket_(printer), printerName_(printer.printerName()), pauses_(pauses),
      connections_(connections) {}

LaneOutcome NetworkLanePrinter::serve(const LaneJob& job) {
    if (!connect()) {
        return {LaneOutcome::Result::failed,
                {},
                {},
                0,
                QStringLiteral("%1 에 연결할 수 없습니다").arg(printerName_),
                true};
    }
    try {
        if (job.kind == LaneJob::Kind::ticket) {
            return sendTicket(job);
        }
        socket_.beginJob();
        return {};
    } catch (const NetworkPrinterError& error) {
        return {LaneOutcome::Result::failed, {}, {}, 0, error.description(), false};
    }
}

bool NetworkLanePrinter::connect() {
    if (socket_.isConnected()) {
        return true;
    }
    if (!socket_.connectWithin(connectWaitMs)) {
        return false;
    }
    descriptor_ = socket_.descriptor();
    connections_.add(descriptor_);
    return true;
}

void NetworkLanePrinter::rest() {
    if (descriptor_ >= 0) {
        connections_.remove(std::exchange(descriptor_, -1));
    }
    socket_.close();
}

LaneOutcome NetworkLanePrinter::sendTicket(const LaneJob& job) {
    LaneOutcome outcome;
    outcome.check = socket_.beginJob();
    playLayout(job.steps, pauses_, [this](const QByteArray& bytes) { socket_.send(bytes); });
    outcome.printed = socket_.finishJob(*outcome.check);
    return outcome;
}
