#pragma once

#include "cash_drawer.h"
#include "kitchen_job_run.h"
#include "network_printer_pass.h"

#include <QString>

// One tick's work, in this order: drawer kicks, jobs filed for "127.0.0.1" under this POS ID,
// jobs filed for the terminal's own address, then the network printers. Each step handles its
// own failures, so one failing step does not keep the next from running.
class PrintCycle {
public:
    explicit PrintCycle(PrintingContext context);
    PrintCycle(const PrintCycle&) = delete;
    PrintCycle& operator=(const PrintCycle&) = delete;

    void run(const QString& terminalIp);

private:
    PrintingContext context_;
    KitchenJobRun jobRun_;
    CashDrawerJobs cashDrawer_;
    NetworkPrinterPass networkPrinters_;
};
