#pragma once

#include <QByteArray>
#include <QString>

// What an ESC/POS kitchen printer answers about itself. Real-time status requests (DLE EOT n)
// are answered at once, even while the printer is stopped, with one byte of the form 0xx1xx10;
// the paper-sensor request (GS r 1) is answered only once every byte before it was printed, with
// one byte whose two bit pairs tell paper near end and paper end. The two forms, XON and XOFF
// cannot be mistaken for one another.
namespace printer_status {

enum class Request : char { printer = 1, offlineCause = 2, paperSensor = 4 };

QByteArray statusRequest(Request request);
// GS r 1: the printer's answer proves that everything sent before it was printed.
QByteArray printedRequest();

bool isStatusAnswer(char byte);
bool isPrintedAnswer(char byte);
// The printed answer's paper-sensor pair: the roll is near its end (it still prints).
bool saysPaperNearEnd(char printedAnswer);

// The latest answers to each request, merged.
struct PrinterState {
    bool offline = false;
    bool coverOpen = false;
    bool paperEnd = false;
    bool paperNearEnd = false;

    void apply(Request request, char answer);
    // Empty while the printer can print; else why it cannot, for the error log.
    QString stopReason() const;
};

} // namespace printer_status
