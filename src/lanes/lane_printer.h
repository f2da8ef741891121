#pragma once

#include "lane_job.h"

#include <functional>
#include <memory>

// The printer at the end of a lane, served by the lane's thread only: it is made there, and
// its port or socket never meets another thread.
class LanePrinter {
public:
    virtual ~LanePrinter() = default;

    // Serves one job; every failure is in the outcome, and the lane then rests the printer.
    virtual LaneOutcome serve(const LaneJob& job) = 0;
    // No more work for now: lets go of the port or the connection.
    virtual void rest() = 0;

protected:
    LanePrinter() = default;
    LanePrinter(const LanePrinter&) = default;
    LanePrinter& operator=(const LanePrinter&) = default;
};

using LanePrinterFactory = std::function<std::unique_ptr<LanePrinter>()>;
