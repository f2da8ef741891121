#include "kitchen_print_server.h"

#include "config_file.h"
#include "confirmation_dialog.h"
#include "main_window.h"
#include "message_window.h"
#include "network_printer_setup.h"
#include "operator_journal.h"
#include "program_version.h"
#include "store_connection.h"
#include "window_placement.h"

#include <QDir>
#include <cstdlib>

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString requiredDbKind = QStringLiteral("MS-SQL");
constexpr quint16 serverPort = 12000;
constexpr int printPeriodMs = 1000;
constexpr int databaseRetryMs = 100;

void showFailure(const std::exception& error) {
    showMessage(lineBreak + QString::fromUtf8(error.what()));
}

} // namespace

KitchenPrintServer::KitchenPrintServer(QString programFolder, MainWindow& window)
    : programFolder_(std::move(programFolder)), window_(window), instance_(programFolder_),
      logs_(programFolder_) {
    printTimer_.setInterval(printPeriodMs);
    databaseTimer_.setInterval(databaseRetryMs);
    // Queued, so that the work does not run inside the timer's own activation: Qt does not
    // fire a timer again while its handler runs, and ticks must go on while a cycle or an
    // attempt waits in the message window.
    connect(&printTimer_, &QTimer::timeout, this, &KitchenPrintServer::runPrintCycle,
            Qt::QueuedConnection);
    connect(&window_, &MainWindow::exitRequested, this, &KitchenPrintServer::exitOnConfirmation);
    connect(&databaseTimer_, &QTimer::timeout, this, &KitchenPrintServer::retryDatabase,
            Qt::QueuedConnection);
}

KitchenPrintServer::~KitchenPrintServer() = default;

KitchenPrintServer::StartOutcome KitchenPrintServer::start() {
    placeWindow(&window_, QString(), QString());
    const StartOutcome held = holdProgramFolder();
    if (held != StartOutcome::Running) {
        return held;
    }
    const StartOutcome configured = readConfigurationAndTakePort();
    if (configured != StartOutcome::Running) {
        return configured;
    }
    if (connectToStore(*database_, storeStatus_, logs_)) {
        return finishStart();
    }
    showStatus();
    window_.setDatabaseReachable(false);
    databaseTimer_.start();
    writeToJournal(QStringLiteral("데이타베이스에 연결할 수 없어 다시 시도합니다"));
    return StartOutcome::WaitingForDatabase;
}

KitchenPrintServer::StartOutcome KitchenPrintServer::holdProgramFolder() {
    try {
        if (!instance_.acquire()) {
            showMessage(lineBreak + QStringLiteral("이미 실행 중입니다"), 3);
            return StartOutcome::EndProgram;
        }
        return StartOutcome::Running;
    } catch (const std::exception& error) {
        // A folder that cannot be held (on Windows, one this account may not create the lock
        // file in): printing without the hold could print every job twice, and ending would
        // leave the kitchen without tickets and nobody knowing why. The reason is shown and the
        // program stays open doing nothing, as with a broken configuration file, until someone
        // fixes the folder.
        showFailure(error);
        return StartOutcome::Stopped;
    }
}

KitchenPrintServer::StartOutcome KitchenPrintServer::readConfigurationAndTakePort() {
    try {
        window_.setVersionText(versionText);
        const ConfigFile config = readConfigFile(QDir(programFolder_).filePath(configFileName));
        if (config.dbKind != requiredDbKind) {
            showMessage(lineBreak + QStringLiteral("환경설정에서") + lineBreak + lineBreak +
                        QStringLiteral("DB 종류를 MS-SQL로 해야 합니다"));
            return StartOutcome::EndProgram;
        }
        statusPage_.open(config.statusPage);
        serverSocket_.listen(serverPort);
        terminalIp_ = ServerSocket::localIpAddress();
        database_ = std::make_unique<PosDatabase>(
            StoreIdentity{config.storeCode, config.posId, config.dbServer},
            [this](const QString& text) { showMessageWhilePrinting(text); });
        // Read only once this instance holds the program folder.
        rememberedRows_ = std::make_unique<RememberedRows>(
            programFolder_, logs_, config.dbServer + QLatin1Char('/') + config.storeCode);
        printCycle_ = std::make_unique<PrintCycle>(PrintingContext{
            *database_, lanes_, networkPrinters_, commands_, logs_, *rememberedRows_, storeStatus_,
            [this](const QString& text) { showMessageWhilePrinting(text); },
            &QDateTime::currentDateTime});
        return StartOutcome::Running;
    } catch (const std::exception& error) {
        showFailure(error);
        return StartOutcome::Stopped;
    }
}

KitchenPrintServer::StartOutcome KitchenPrintServer::finishStart() {
    try {
        if (database_->settings().text(QStringLiteral("메인포스로사용")) == QLatin1String("1")) {
            createNetworkPrinters();
        }
    } catch (const std::exception& error) {
        showFailure(error);
        return StartOutcome::Stopped;
    }
    preparePrinting();
    window_.hideToTray();
    printTimer_.start();
    writeToJournal(QStringLiteral("출력을 시작합니다 (터미널 주소 %1)").arg(terminalIp_));
    // After the timer started: the kitchen gets its tickets while a notice about the option
    // lines waits for the operator.
    if (const std::optional<QString> refused = database_->loadOtherOptions()) {
        logs_.writeErrorLog(QStringLiteral("connectDatabase"), *refused);
    }
    return StartOutcome::Running;
}

// Attempts follow each other 100 ms apart plus the attempt's own time. A tick may be entered
// again while an earlier one waits in the message window; the first success finishes the start.
void KitchenPrintServer::retryDatabase() {
    if (!connectToStore(*database_, storeStatus_, logs_)) {
        showStatus();
        if (databaseTimer_.isActive()) {
            databaseTimer_.start();
        }
        return;
    }
    try {
        finishStartFromDatabaseTimer();
    } catch (const std::exception& error) {
        showFailure(error);
    }
}

void KitchenPrintServer::finishStartFromDatabaseTimer() {
    window_.setDatabaseReachable(true);
    databaseTimer_.stop();
    createNetworkPrinters();
    preparePrinting();
    window_.hideToTray();
    printTimer_.start();
    writeToJournal(QStringLiteral("데이타베이스에 연결되어 출력을 시작합니다 (터미널 주소 %1)")
                       .arg(terminalIp_));
}

void KitchenPrintServer::createNetworkPrinters() {
    loadNetworkPrinters(*database_, networkPrinters_, logs_);
    for (qint16 number = 1; number <= networkPrinters_.count(); ++number) {
        storeStatus_.addPrinter(networkPrinters_.at(number).printerName());
    }
}

// The terminal's own receipt printer is listed before its first job.
void KitchenPrintServer::listOwnPrinter() {
    try {
        const QString port = database_->settings().text(QStringLiteral("프린터포트")).toUpper();
        if (port.startsWith(QLatin1String("COM"))) {
            storeStatus_.addPrinter(port);
        }
    } catch (const std::exception&) {
        // Without a settings row there is nothing to list yet.
    }
}

void KitchenPrintServer::showStatus() {
    storeStatus_.setLogProblem(logs_.writeProblem());
    window_.showStatus(storeStatus_);
}

void KitchenPrintServer::preparePrinting() {
    listOwnPrinter();
    showStatus();
    try {
        preparePrinterCommands(commands_, database_->settings());
    } catch (const std::exception&) {
        // Without a settings row the commands stay as they were, like any failed preparation.
    }
}

// A tick that arrives while a cycle still runs (a message window lets the event loop run) is
// skipped: the cycle is not made to be entered twice.
void KitchenPrintServer::runPrintCycle() {
    if (printCycleRunning_) {
        return;
    }
    printCycleRunning_ = true;
    try {
        followTerminalAddress();
        printCycle_->run(terminalIp_);
    } catch (const std::exception& error) {
        showFailure(error);
    }
    showStatus();
    printCycleRunning_ = false;
    if (std::exchange(exitQuestionWaiting_, false)) {
        exitOnConfirmation();
    }
}

// A terminal started before its network came up, or whose address changed, takes the address
// it has now, so that jobs filed under it are not ignored for the rest of the day.
void KitchenPrintServer::followTerminalAddress() {
    if (terminalIp_ != loopbackAddress && ServerSocket::isLocalAddress(terminalIp_)) {
        return;
    }
    const QString current = ServerSocket::localIpAddress();
    if (current != terminalIp_) {
        terminalIp_ = current;
        writeToJournal(QStringLiteral("터미널 주소가 %1 입니다").arg(terminalIp_));
    }
}

// While a failed run waits for the operator, later ticks may print: the failed run has let go
// of its jobs, and the kitchen must not wait for someone to close the message.
void KitchenPrintServer::showMessageWhilePrinting(const QString& text) {
    const bool wasRunning = std::exchange(printCycleRunning_, false);
    showMessage(text);
    printCycleRunning_ = wasRunning;
}

// Printing goes on behind the question. The process ends at once: no handler runs any more,
// and the lanes, the sockets, the serial ports and the windows go with it. A job a lane had
// not seen confirmed stays in the table and is printed again in full at the next start; a
// network printer's connection is reset, so that nothing more of such a job arrives.
void KitchenPrintServer::exitOnConfirmation() {
    // Asked in the middle of a cycle (the cycle lets the event loop run), the question would
    // hold that cycle, and with it every later tick, until answered: it waits for the cycle.
    if (printCycleRunning_) {
        exitQuestionWaiting_ = true;
        return;
    }
    if (askConfirmation(QStringLiteral("프로그램을 종료 할까요?")) != QStringLiteral("예")) {
        return;
    }
    lanes_.abandonConnections();
    if (database_) {
        database_->closeConnection();
    }
    writeToJournal(QStringLiteral("프로그램을 종료합니다"));
    std::_Exit(EXIT_SUCCESS);
}
