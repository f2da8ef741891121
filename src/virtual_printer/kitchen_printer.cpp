#include "kitchen_printer.h"

#include "status_bytes.h"

KitchenPrinter::KitchenPrinter(VirtualPrinter& paper, qsizetype bufferSize, int bytesPerSecond,
                               bool answers, bool printedAnswers)
    : paper_(paper), bufferSize_(bufferSize),
      pace_(bytesPerSecond, [this](qsizetype most) { printFront(most); }),
      printedAnswers_(printedAnswers) {
    state_.answers = answers;
}

void KitchenPrinter::receive(const QByteArray& bytes) {
    if (!state_.poweredOn) {
        return;
    }
    received_ += bytes.size();
    std::vector<int> requests;
    buffer_ += realTime_.take(bytes, requests);
    for (const int n : requests) {
        if (const std::optional<char> status = status_bytes::realTime(n, state_)) {
            answerWith(*status);
        }
    }
    printWhileAllowed();
}

void KitchenPrinter::hostGone() {
    buffer_ += realTime_.takeHeld();
    printWhileAllowed();
}

void KitchenPrinter::setPaper(PaperLevel level) {
    state_.paper = level;
    printWhileAllowed();
}

void KitchenPrinter::setCoverOpen(bool open) {
    state_.coverOpen = open;
    printWhileAllowed();
}

void KitchenPrinter::setSwitchedOffline(bool offline) {
    state_.switchedOffline = offline;
    printWhileAllowed();
}

void KitchenPrinter::setAnswers(bool answers) {
    state_.answers = answers;
}

void KitchenPrinter::powerOff() {
    state_.poweredOn = false;
    state_.switchedOffline = false;
    buffer_.clear();
    realTime_.takeHeld();
    paper_.discard();
    printWhileAllowed();
    Q_EMIT roomMade();
}

void KitchenPrinter::powerOn() {
    state_.poweredOn = true;
    Q_EMIT roomMade();
}

// Only a status request that the engine reached is answered: everything before it is on paper.
void KitchenPrinter::printFront(qsizetype most) {
    const QByteArray piece = buffer_.first(std::min(most, buffer_.size()));
    buffer_.remove(0, piece.size());
    for (const StatusRequest& request : paper_.print(piece)) {
        if (printedAnswers_) {
            answerWith(status_bytes::sensor(request.sensor, state_));
        }
    }
    printWhileAllowed();
    Q_EMIT roomMade();
}

void KitchenPrinter::answerWith(char status) {
    if (state_.answers) {
        Q_EMIT answer(QByteArray(1, status));
    }
}

void KitchenPrinter::printWhileAllowed() {
    if (state_.printing() && !buffer_.isEmpty()) {
        pace_.start();
    } else {
        pace_.stop();
    }
}
