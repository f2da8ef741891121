#include "print_cycle.h"

PrintCycle::PrintCycle(PrintingContext context)
    : context_(std::move(context)), jobRun_(context_, reach_), cashDrawer_(context_),
      networkPrinters_(context_, jobRun_, reach_) {}

void PrintCycle::run(const QString& terminalIp) {
    cashDrawer_.run();
    jobRun_.run(loopbackAddress, 0);
    jobRun_.run(terminalIp, 0);
    networkPrinters_.run();
}
