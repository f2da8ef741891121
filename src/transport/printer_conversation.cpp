#include "printer_conversation.h"

#include "printer_trouble.h"

#include <QDeadlineTimer>
#include <array>

using printer_status::PrinterState;
using printer_status::Request;

namespace {

const QString notAnswering = troubleDescription(PrinterTrouble::notAnswering);
const QString notTaking = troubleDescription(PrinterTrouble::notTaking);
// How long one look for input waits; it paces the loops below.
constexpr int readWaitMs = 10;

int remainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(deadline.remainingTime());
}

// Progress is any byte the printer takes; the stall limit runs from the last one.
class ProgressWatch {
public:
    ProgressWatch(qint64 held, int stallMs) : held_(held), stallMs_(stallMs), stall_(stallMs) {}

    void noteHeld(qint64 held) {
        if (held < held_) {
            noteMoved();
        }
        held_ = held;
    }
    void noteMoved() { stall_.setRemainingTime(stallMs_); }
    bool stalled() const { return stall_.hasExpired(); }
    qint64 held() const { return held_; }

private:
    qint64 held_;
    int stallMs_;
    QDeadlineTimer stall_;
};

// While a job is being printed the program asks in turn whether the printer is online and
// why it would have stopped, one request at a time so that each answer is known to be whose.
class StatusPolling {
public:
    StatusPolling(PrinterLink& link, int pollMs) : link_(link), pollMs_(pollMs), due_(pollMs) {}

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
        answers_ += 1;
        due_.setRemainingTime(pollMs_);
        return true;
    }
    const PrinterState& state() const { return state_; }
    // Every request was answered at least once: a stop's reason is known, not only the stop.
    bool knowsWhy() const { return answers_ >= requests_.size(); }

private:
    PrinterLink& link_;
    static constexpr std::array<Request, 2> requests_{Request::printer, Request::offlineCause};
    int pollMs_;
    std::size_t next_ = 0;
    std::size_t answers_ = 0;
    bool outstanding_ = false;
    QDeadlineTimer due_;
    PrinterState state_;
};

} // namespace

bool PrinterConversation::probe(PrinterFindings& findings) {
    const std::optional<char> answer =
        ask(Request::printer, findings.answered ? limits_.answerMs : limits_.probeMs);
    if (!answer) {
        if (findings.answered) {
            link_.fail(notAnswering);
        }
        return false;
    }
    findings.answered = true;
    state_.apply(Request::printer, *answer);
    knowsOnline_ = true;
    return true;
}

PrinterCheck PrinterConversation::checkReady(PrinterFindings& findings) {
    requireReady();
    if (!findings.confirms) {
        findings.confirms = confirmsWithNothingPending();
    }
    return PrinterCheck{*findings.confirms, true, true};
}

// A printer that implements GS r answers it at once when nothing waits before it. Asked only
// while it is ready: a stopped printer answers it only once it prints again.
bool PrinterConversation::confirmsWithNothingPending() {
    link_.discardInput();
    link_.writeInTurn(printer_status::printedRequest());
    return awaitByte(printer_status::isPrintedAnswer, limits_.answerMs).has_value();
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
    const std::optional<char> answer = ask(request, limits_.answerMs);
    if (!answer) {
        link_.fail(notAnswering);
    }
    state_.apply(request, *answer);
}

std::optional<char> PrinterConversation::ask(Request request, int waitMs) {
    link_.discardInput();
    link_.writeRequest(printer_status::statusRequest(request));
    return awaitByte(printer_status::isStatusAnswer, waitMs);
}

std::optional<char> PrinterConversation::awaitByte(bool (*wanted)(char), int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    do {
        for (const char byte : link_.readInput(remainingMs(deadline))) {
            if (wanted(byte)) {
                return byte;
            }
        }
    } while (!deadline.hasExpired());
    return std::nullopt;
}

// An answer that the printer is online and not stopped counts as progress: an impact printer
// may print a full buffer for many seconds before it takes another byte. Such answers never end
// the wait for good: a printer that answers them but never confirms is given up at the job's
// limit.
PrintedJob PrinterConversation::confirmPrinted(qint64 jobBytes) {
    const QDeadlineTimer jobLimit(limits_.jobLimitMs(jobBytes));
    link_.discardInput();
    link_.writeInTurn(printer_status::printedRequest());
    ProgressWatch progress(link_.heldBytes(), limits_.stallMs);
    StatusPolling polling(link_, limits_.pollMs);
    QDeadlineTimer stoppedFor(QDeadlineTimer::Forever);
    while (true) {
        polling.sendWhenDue();
        for (const char byte : link_.readInput(readWaitMs)) {
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
                stoppedFor.setRemainingTime(limits_.stopMs);
            }
        }
        if (stoppedFor.hasExpired()) {
            link_.fail(polling.state().stopReason());
        }
        progress.noteHeld(link_.heldBytes());
        if (progress.stalled() || jobLimit.hasExpired() || link_.printerGone(limits_.stallMs)) {
            link_.fail(notAnswering);
        }
    }
}

void PrinterConversation::waitUntilTaken(qint64 jobBytes, bool answerTellsTaken) {
    const QDeadlineTimer jobLimit(limits_.jobLimitMs(jobBytes));
    ProgressWatch progress(link_.heldBytes(), limits_.stallMs);
    while (progress.held() > 0) {
        link_.readInput(readWaitMs);
        progress.noteHeld(link_.heldBytes());
        const bool stalled = progress.stalled() && !link_.heldBytesMayWait();
        if (stalled || jobLimit.hasExpired() || link_.printerGone(limits_.stallMs)) {
            link_.fail(notTaking);
        }
    }
    if (answerTellsTaken && !ask(Request::printer, remainingMs(jobLimit))) {
        link_.fail(notAnswering);
    }
}

// A stop is reported only once its reason is known: paper end also answers "offline" first.
// Printing, the printer empties even a full buffer within the limit of a job of no bytes.
void PrinterConversation::waitWhileBusy(bool mayAsk) {
    const QDeadlineTimer askFrom(limits_.stopMs);
    const QDeadlineTimer longest(limits_.jobLimitMs(0));
    ProgressWatch progress(0, limits_.stallMs);
    StatusPolling polling(link_, limits_.pollMs);
    while (link_.printerBusy()) {
        if (mayAsk && askFrom.hasExpired()) {
            polling.sendWhenDue();
        }
        for (const char byte : link_.readInput(readWaitMs)) {
            if (!polling.take(byte)) {
                continue;
            }
            const QString stop = polling.state().stopReason();
            if (stop.isEmpty()) {
                progress.noteMoved();
            } else if (polling.knowsWhy()) {
                link_.fail(stop);
            }
        }
        if (progress.stalled() || longest.hasExpired()) {
            link_.fail(notTaking);
        }
    }
}
