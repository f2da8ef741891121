#pragma once

#include "lane_printer.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class Pauses;
class QObject;

// One printer's own worker thread, running the blocking conversation with the printer: its
// connection wait, its status requests, the layouts' pauses and a stall hold up nobody else.
// Jobs come in through a small locked queue in the order they were handed; each outcome goes
// back to the receiver's thread as a queued call. After a failure the jobs still queued are
// returned untried, so that the next hand-over keeps their order.
class PrinterLane {
public:
    PrinterLane(LanePrinterFactory makePrinter, QObject& receiver, Pauses& pauses);
    // Waits for the job in hand; the jobs still queued are dropped without an outcome.
    ~PrinterLane();
    PrinterLane(const PrinterLane&) = delete;
    PrinterLane& operator=(const PrinterLane&) = delete;

    void hand(LaneJob job);

private:
    void work(const LanePrinterFactory& makePrinter);
    std::optional<LaneJob> next(LanePrinter& printer);
    void report(LaneJob& job, const LaneOutcome& outcome);
    void returnQueued();

    QObject& receiver_;
    Pauses& pauses_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<LaneJob> queue_;
    bool stopping_ = false;
    std::thread thread_;
};
