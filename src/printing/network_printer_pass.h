#pragma once

#include <QtGlobal>

struct PrintingContext;
class KitchenJobRun;

// On the main POS, while any network job of the store is pending: every network printer in
// turn is connected, gets its jobs, is closed, and a one-second pause follows. Other terminals
// only check for pending network jobs. Failures are shown to the operator.
class NetworkPrinterPass {
public:
    NetworkPrinterPass(PrintingContext& context, KitchenJobRun& jobRun)
        : context_(context), jobRun_(jobRun) {}

    void run();

private:
    void visitPrinter(qint16 number);

    PrintingContext& context_;
    KitchenJobRun& jobRun_;
};
