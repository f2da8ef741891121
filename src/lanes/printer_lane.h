#pragma once

#include "lane_printer.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class Pauses;

// Takes, on the handing thread, the queued calls that say an outcome waits. The slot is called
// by name, so that nothing made on a lane's thread travels with the call: the outcome itself
// crosses in the lane's locked outbox, where ThreadSanitizer sees the hand-over (it cannot see
// the lock inside Qt's event queue).
class OutcomeDeliverer : public QObject {
    Q_OBJECT

public:
    explicit OutcomeDeliverer(std::function<void()> deliver) : deliver_(std::move(deliver)) {}

public Q_SLOTS:
    void deliverOne() { deliver_(); }

private:
    std::function<void()> deliver_;
};

// One printer's own worker thread, running the blocking conversation with the printer: its
// connection wait, its status requests, the layouts' pauses and a stall hold up nobody else.
// Jobs come in through a small locked queue in the order they were handed; outcomes go back
// through another, emptied on the handing thread by a queued call. After a failure the jobs
// still queued are returned untried, so that the next hand-over keeps their order.
class PrinterLane {
public:
    // Made on the thread that hands the jobs and gets the outcomes.
    PrinterLane(LanePrinterFactory makePrinter, Pauses& pauses);
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
    void deliverOutcome();

    // Lives on the handing thread: the queued calls that deliver the outcomes go to it, and
    // go with it.
    OutcomeDeliverer deliverer_{[this] { deliverOutcome(); }};
    Pauses& pauses_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<LaneJob> queue_;
    std::deque<std::pair<std::function<void(const LaneOutcome&)>, LaneOutcome>> outbox_;
    bool stopping_ = false;
    std::thread thread_;
};
