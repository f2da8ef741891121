#pragma once

#include "print_pace.h"
#include "printer_state.h"
#include "real_time_requests.h"
#include "virtual_printer.h"

#include <QObject>
#include <algorithm>

// A kitchen printer between its interface and its paper. What the host link reads goes into a
// receive buffer of a fixed size, from which the print engine takes it at the printer's speed
// while paper, cover and switches allow; the link reads only while the buffer has room.
class KitchenPrinter : public QObject {
    Q_OBJECT

public:
    // Without printed answers it answers DLE EOT but never GS r, as some compatible printers do.
    KitchenPrinter(VirtualPrinter& paper, qsizetype bufferSize, int bytesPerSecond, bool answers,
                   bool printedAnswers);

    qsizetype bufferSize() const { return bufferSize_; }
    qsizetype buffered() const { return buffer_.size(); }
    qsizetype room() const { return std::max<qsizetype>(0, bufferSize_ - buffer_.size()); }
    qint64 received() const { return received_; }
    qint64 printed() const { return paper_.printedBytes(); }
    const PrinterState& state() const { return state_; }

    // Bytes from the host: real-time requests are answered at once, the rest waits its turn.
    // While the power is off they are lost.
    void receive(const QByteArray& bytes);
    // The host went: a request it began and never finished is data after all.
    void hostGone();

    void setPaper(PaperLevel level);
    void setCoverOpen(bool open);
    void setSwitchedOffline(bool offline);
    void setAnswers(bool answers);
    // The buffer, half-received commands and uncut text are lost; the printer comes back online.
    void powerOff();
    void powerOn();

Q_SIGNALS:
    void answer(const QByteArray& bytes);
    void roomMade();

private:
    void printFront(qsizetype most);
    void answerWith(char status);
    void printWhileAllowed();

    VirtualPrinter& paper_;
    qsizetype bufferSize_;
    QByteArray buffer_;
    RealTimeRequests realTime_;
    PrinterState state_;
    PrintPace pace_;
    bool printedAnswers_;
    qint64 received_ = 0;
};
