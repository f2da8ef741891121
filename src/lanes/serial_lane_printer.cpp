#include "serial_lane_printer.h"

#include "layout_playback.h"
#include "pauses.h"
#include "serial_port_error.h"

namespace {

constexpr int pauseAroundPortCloseMs = 100;
constexpr int pauseAfterKickMs = 150;

} // namespace

SerialLanePrinter::SerialLanePrinter(const QString& programFolder, qint16 portNumber,
                                     Pauses& pauses)
    : port_(programFolder), portNumber_(portNumber), pauses_(pauses) {}

// Every job opens the port with its own settings; the lane, its only user, closes it after a
// failure.
LaneOutcome SerialLanePrinter::serve(const LaneJob& job) {
    try {
        openWith(job.serialSettings);
        switch (job.kind) {
        case LaneJob::Kind::ticket:
            return printTicket(job);
        case LaneJob::Kind::drawerKick:
            kickDrawer(job);
            break;
        case LaneJob::Kind::stateCheck:
            port_.beginJob();
            port_.close();
            break;
        }
        return {};
    } catch (const SerialPortError& error) {
        return {LaneOutcome::Result::failed, {}, {}, error.number(), error.description(), false};
    }
}

void SerialLanePrinter::openWith(const QString& settings) {
    if (port_.isOpen()) {
        port_.close();
    }
    port_.setPortNumber(portNumber_);
    port_.setSettings(settings);
    port_.open();
}

LaneOutcome SerialLanePrinter::printTicket(const LaneJob& job) {
    LaneOutcome outcome;
    outcome.check = port_.beginJob();
    playLayout(job.steps, pauses_, [this](const QByteArray& bytes) { port_.write(bytes); });
    outcome.printed = port_.finishJob(*outcome.check);
    pauses_.wait(pauseAroundPortCloseMs);
    port_.close();
    pauses_.wait(pauseAroundPortCloseMs);
    return outcome;
}

void SerialLanePrinter::kickDrawer(const LaneJob& job) {
    port_.write(job.kick);
    port_.waitUntilTaken();
    pauses_.wait(pauseAfterKickMs);
    port_.close();
}
