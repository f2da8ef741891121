#include "printer_lane.h"

#include "pauses.h"

#include <QMetaObject>

PrinterLane::PrinterLane(LanePrinterFactory makePrinter, Pauses& pauses)
    : pauses_(pauses),
      thread_([this, makePrinter = std::move(makePrinter)] { work(makePrinter); }) {}

PrinterLane::~PrinterLane() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void PrinterLane::hand(LaneJob job) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void PrinterLane::work(const LanePrinterFactory& makePrinter) {
    const std::unique_ptr<LanePrinter> printer = makePrinter();
    while (std::optional<LaneJob> job = next(*printer)) {
        const LaneOutcome outcome = printer->serve(*job);
        const bool failed = outcome.result == LaneOutcome::Result::failed;
        // A failed use leaves nothing open: the next job opens the port or connection afresh.
        if (failed) {
            printer->rest();
        }
        report(*job, outcome);
        if (failed) {
            returnQueued();
        } else {
            pauses_.wait(job->pauseAfterMs);
        }
    }
}

// Lets go of the printer whenever the queue runs dry, so that a port or a connection is held
// only while there is work for it.
std::optional<LaneJob> PrinterLane::next(LanePrinter& printer) {
    std::unique_lock lock(mutex_);
    if (queue_.empty() && !stopping_) {
        lock.unlock();
        printer.rest();
        lock.lock();
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    }
    if (stopping_) {
        return std::nullopt;
    }
    LaneJob job = std::move(queue_.front());
    queue_.pop_front();
    return job;
}

void PrinterLane::report(LaneJob& job, const LaneOutcome& outcome) {
    {
        const std::lock_guard lock(mutex_);
        outbox_.emplace_back(std::move(job.done), outcome);
    }
    QMetaObject::invokeMethod(&deliverer_, "deliverOne", Qt::QueuedConnection);
}

// One outcome per queued call, as many calls as outcomes: a handler that shows a message window
// runs the event loop, and the outcomes behind it come in meanwhile instead of waiting for the
// window to close.
void PrinterLane::deliverOutcome() {
    std::function<void(const LaneOutcome&)> done;
    LaneOutcome outcome;
    {
        const std::lock_guard lock(mutex_);
        if (outbox_.empty()) {
            return;
        }
        std::tie(done, outcome) = std::move(outbox_.front());
        outbox_.pop_front();
    }
    done(outcome);
}

void PrinterLane::returnQueued() {
    std::deque<LaneJob> untried;
    {
        const std::lock_guard lock(mutex_);
        untried.swap(queue_);
    }
    for (LaneJob& job : untried) {
        report(job, LaneOutcome{LaneOutcome::Result::returned, {}, {}, 0, {}, false});
    }
}
