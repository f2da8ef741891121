#include "printer_conversation.h"

#include "printer_trouble.h"

#include <QDeadlineTimer>
#include <array>

using printer_status::PrinterState;
using printer_status::Request;

namespace {

const QString notAnswering = troubleDescription(PrinterTrouble::notAnswering);
const QString notTaking = troubleDescription(PrinterTrouble::notTaking);

// Progress is any byte the printer takes; the stall limit runs from the last one.
class ProgressWatch {
public:
    explicit ProgressWatch(qint64 held) : held_(held) {}

    void noteHeld(qint64 held) {
        if (held < held_) {
            noteMoved();
        }
        held_ = held;
    }
    void noteMoved() { stall_.setRemainingTime(printer_limits::stallMs); }
    bool stalled() const { return stall_.hasExpired(); }
    qint64 held() const { return held_; }

private:
    qint64 held_;
    QDeadlineTimer stall_{printer_limits::stallMs};
};

// While a job is being printed the program asks in turn whether the printer is online and
// why it would have stopped, one request at a time so that each answer is known to be whose.
class StatusPolling {
public:
    explicit StatusPolling(PrinterLink& link) : link_(link) {}

    void sendWhenDue() {
        if (!outstanding_ && due_.hasExpired()) {
            link_.writeRequest(printer_status::statusRequest(requests_.at(next_)));
            outstanding_ = true;
        }
    }
    // True when the byte answered the request in flight.
    bool take(char byte) {
        if (!outstanding_ || !printer_status::isStatusAnswer(byte)) {
            return false;
        }
        state_.apply(requests_.at(next_), byte);
        outstanding_ = false;
        next_ = (next_ + 1) % requests_.size();
        due_.setRemainingTime(printer_limits::pollMs);
        return true;
    }
    const PrinterState& state() const { return state_; }

private:
    PrinterLink& link_;
    static constexpr std::array<Request, 2> requests_{Request::printer, Request::offlineCause};
    std::size_t next_ = 0;
    bool outstanding_ = false;
    QDeadlineTimer due_{printer_limits::pollMs};
    PrinterState state_;
};

} // namespace

bool PrinterConversation::probe(bool answeredBefore) {
    const std::optional<char> answer =
        ask(Request::printer, answeredBefore ? printer_limits::answerMs : printer_limits::probeMs);
    if (answer) {
        state_.apply(Request::printer, *answer);
        knowsOnline_ = true;
    }
    return answer.has_value();
}

// Paper end takes a printer offline and stops it; the two answers tell every stop.
void PrinterConversation::requireReady() {
    if (!knowsOnline_) {
        require(Request::printer);
    }
    require(Request::offlineCause);
    if (!state_.stopReason().isEmpty()) {
        link_.fail(state_.stopReason());
    }
}

void PrinterConversation::require(Request request) {
    const std::optional<char> answer = ask(request, printer_limits::answerMs);
    if (!answer) {
        link_.fail(notAnswering);
    }
    state_.apply(request, *answer);
}

std::optional<char> PrinterConversation::ask(Request request, int waitMs) {
    link_.discardInput();
    link_.writeRequest(printer_status::statusRequest(request));
    const QDeadlineTimer deadline(waitMs);
    do {
        for (const char byte : link_.readInput(static_cast<int>(deadline.remainingTime()))) {
            if (printer_status::isStatusAnswer(byte)) {
                return byte;
            }
        }
    } while (!deadline.hasExpired());
    return std::nullopt;
}

// An answer that the printer is online and not stopped counts as progress: an impact printer
// may print a full buffer for many seconds before it takes another byte.
PrintedJob PrinterConversation::confirmPrinted() {
    link_.discardInput();
    link_.writeRequest(printer_status::printedRequest());
    ProgressWatch progress(link_.heldBytes());
    StatusPolling polling(link_);
    QDeadlineTimer stoppedFor(QDeadlineTimer::Forever);
    while (true) {
        polling.sendWhenDue();
        for (const char byte : link_.readInput(printer_limits::pollMs / 10)) {
            if (printer_status::isPrintedAnswer(byte)) {
                return PrintedJob{printer_status::saysPaperNearEnd(byte)};
            }
            if (!polling.take(byte)) {
                continue;
            }
            if (polling.state().stopReason().isEmpty()) {
                stoppedFor = QDeadlineTimer(QDeadlineTimer::Forever);
                progress.noteMoved();
            } else if (stoppedFor.isForever()) {
                stoppedFor.setRemainingTime(printer_limits::stopMs);
            }
        }
        if (stoppedFor.hasExpired()) {
            link_.fail(polling.state().stopReason());
        }
        progress.noteHeld(link_.heldBytes());
        if (progress.stalled()) {
            link_.fail(notAnswering);
        }
    }
}

void PrinterConversation::waitUntilTaken() {
    ProgressWatch progress(link_.heldBytes());
    while (progress.held() > 0) {
        link_.readInput(printer_limits::pollMs / 10);
        progress.noteHeld(link_.heldBytes());
        if (progress.stalled()) {
            link_.fail(notTaking);
        }
    }
}
