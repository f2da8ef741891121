#pragma once

#include <QHash>
#include <QString>

struct PrintingContext;
class KitchenJobRun;
class PrinterReach;

// On the main POS: each network printer with jobs pending gets them handed to its lane, unless
// it could not be reached and waits for its next try; an idle one is asked its state now and
// then. Other terminals only check for pending network jobs. Failures are shown to the
// operator.
class NetworkPrinterPass {
public:
    NetworkPrinterPass(PrintingContext& context, KitchenJobRun& jobRun, const PrinterReach& reach)
        : context_(context), jobRun_(jobRun), reach_(reach) {}

    void run();

private:
    void visitPrinter(qint16 number, const QHash<QString, int>& waiting);

    PrintingContext& context_;
    KitchenJobRun& jobRun_;
    const PrinterReach& reach_;
};
