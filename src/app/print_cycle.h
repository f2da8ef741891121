#pragma once

#include "cash_drawer.h"
#include "kitchen_job_run.h"
#include "network_printer_pass.h"
#include "printer_reach.h"

#include <QString>

// One tick's work, in this order: drawer kicks, jobs filed for "127.0.0.1" under this POS ID,
// jobs filed for the terminal's own address, then the network printers. The tick only selects
// and hands jobs to the printers' lanes, so it takes the time of its statements; the printing
// goes on in the lanes. Each step handles its own failures, so one failing step does not keep
// the next from running.
class PrintCycle {
public:
    explicit PrintCycle(PrintingContext context);
    PrintCycle(const PrintCycle&) = delete;
    PrintCycle& operator=(const PrintCycle&) = delete;

    void run(const QString& terminalIp);

private:
    PrintingContext context_;
    PrinterReach reach_;
    KitchenJobRun jobRun_;
    CashDrawerJobs cashDrawer_;
    NetworkPrinterPass networkPrinters_;
};
