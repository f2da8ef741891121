#pragma once

#include "daily_logs.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "print_cycle.h"
#include "printer_commands.h"
#include "printer_lanes.h"
#include "remembered_rows.h"
#include "server_socket.h"
#include "single_instance.h"
#include "status_page.h"
#include "store_status.h"

#include <QObject>
#include <QTimer>
#include <memory>

class MainWindow;

// The program's start and the timers that drive all work: the database timer retries the
// connection until it stands, then the print timer runs the print cycle once a second.
class KitchenPrintServer : public QObject {
    Q_OBJECT

public:
    enum class StartOutcome {
        EndProgram,         // another instance holds the folder, or the database kind is wrong
        Stopped,            // a failure was shown; the program stays open doing nothing
        WaitingForDatabase, // the database timer retries every 100 ms
        Running,            // the print timer runs
    };

    KitchenPrintServer(QString programFolder, MainWindow& window);
    ~KitchenPrintServer() override;

    StartOutcome start();

    bool isPrintTimerActive() const { return printTimer_.isActive(); }
    bool isDatabaseTimerActive() const { return databaseTimer_.isActive(); }
    const QString& terminalIp() const { return terminalIp_; }
    PosDatabase* database() const { return database_.get(); }
    qint16 networkPrinterCount() const { return networkPrinters_.count(); }

private:
    StartOutcome holdProgramFolder();
    StartOutcome readConfigurationAndTakePort();
    StartOutcome finishStart();
    void retryDatabase();
    void finishStartFromDatabaseTimer();
    void createNetworkPrinters();
    void listOwnPrinter();
    void showStatus();
    void preparePrinting();
    void runPrintCycle();
    void followTerminalAddress();
    void showMessageWhilePrinting(const QString& text);
    void exitOnConfirmation();

    QString programFolder_;
    MainWindow& window_;
    SingleInstance instance_;
    ServerSocket serverSocket_;
    std::unique_ptr<PosDatabase> database_;
    NetworkPrinters networkPrinters_;
    PrinterCommands commands_;
    DailyLogs logs_;
    std::unique_ptr<RememberedRows> rememberedRows_;
    StoreStatus storeStatus_;
    SleepingPauses pauses_;
    PrinterLanes lanes_{programFolder_, pauses_};
    std::unique_ptr<PrintCycle> printCycle_;
    QString terminalIp_;
    QTimer printTimer_;
    QTimer databaseTimer_;
    bool printCycleRunning_ = false;
    bool exitQuestionWaiting_ = false;
    StatusPage statusPage_{storeStatus_, logs_};
};
