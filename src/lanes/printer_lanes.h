#pragma once

#include "lane_job.h"
#include "network_printers.h"
#include "open_connections.h"
#include "printer_lane.h"

#include <QHash>
#include <QString>
#include <map>
#include <memory>

class Pauses;

// Every printer's lane, made when the printer first gets work: one per serial port the jobs
// and the drawer kicks name, one per network printer. Worker threads with blocking printer
// conversations, rather than event-driven lanes on one thread, because the conversations
// (status requests, confirmations, stalls) are long sequences of waits that read best as the
// straight code they are. The lanes meet this object, which lives on the user-interface
// thread with the database and the windows, only through their locked queues; all its own
// state is touched on that thread alone.
class PrinterLanes {
public:
    PrinterLanes(QString programFolder, Pauses& pauses);
    ~PrinterLanes();
    PrinterLanes(const PrinterLanes&) = delete;
    PrinterLanes& operator=(const PrinterLanes&) = delete;

    static QString serialPortName(qint16 portNumber);

    void handToSerialPort(qint16 portNumber, LaneJob job);
    void handToNetworkPrinter(const NetworkPrinterAddress& printer, LaneJob job);
    // Jobs handed to the printer's lane whose outcome has not come back yet.
    int jobsHeldFor(const QString& printerName) const { return held_.value(printerName); }
    // Jobs held by any lane.
    int jobsHeld() const;
    // For a program that ends at once: no network printer gets the rest of a job cut off.
    void abandonConnections() { connections_.resetAllOnClose(); }

private:
    void hand(const QString& printerName, const LanePrinterFactory& makePrinter, LaneJob job);

    QString programFolder_;
    Pauses& pauses_;
    OpenConnections connections_;
    QHash<QString, int> held_;
    // Last, so that the lanes end before what they use.
    std::map<QString, std::unique_ptr<PrinterLane>> lanes_;
};
