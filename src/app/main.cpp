#include "command_line.h"
#include "daily_logs.h"
#include "driver_environment.h"
#include "first_setup.h"
#include "kitchen_print_server.h"
#include "main_window.h"
#include "operator_journal.h"
#include "program_version.h"
#include "terminal_output.h"
#include "window_system_start.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

// Help, version and setup answer in the terminal and need no window system.
int runTerminalCommand(const CommandLine& command) {
    if (!command.unknownArguments.isEmpty()) {
        writeToJournal(unknownArgumentsNotice(command.unknownArguments));
    }
    QTextStream out(stdout);
    QTextStream errors(stderr);
    out.setEncoding(terminalEncoding());
    errors.setEncoding(terminalEncoding());
    switch (command.action) {
    case CommandLine::Action::Help:
        out << commandLineHelp();
        return 0;
    case CommandLine::Action::Version:
        out << versionText << Qt::endl;
        return 0;
    case CommandLine::Action::Setup:
        return runFirstSetup(command, out);
    case CommandLine::Action::Check:
        return runSetupChecks(command, out);
    case CommandLine::Action::Refused:
    case CommandLine::Action::Run:
        break;
    }
    errors << "kitchen-print-server: " << command.refusal << Qt::endl
           << helpReference() << Qt::endl;
    return 2;
}

int runProgram(const CommandLine& command) {
    if (!command.unknownArguments.isEmpty()) {
        // Also in the error log: a window program on Windows has no standard error anyone reads.
        const QString notice = unknownArgumentsNotice(command.unknownArguments);
        writeToJournal(notice);
        DailyLogs(command.programFolder).writeErrorLog(QStringLiteral("parseCommandLine"), notice);
    }
    if (command.autostart && !QFile::exists(QDir(command.programFolder).filePath(configFileName))) {
        writeToJournal(QStringLiteral("%1이(가) 없어 시작하지 않습니다 (kitchen-print-server "
                                      "--setup으로 설정합니다)")
                           .arg(QDir(command.programFolder).filePath(configFileName)));
        return 0;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    MainWindow window;
    KitchenPrintServer server(command.programFolder, window);
    switch (server.start()) {
    case KitchenPrintServer::StartOutcome::EndProgram:
        return 0;
    case KitchenPrintServer::StartOutcome::Running:
        break;
    case KitchenPrintServer::StartOutcome::Stopped:
    case KitchenPrintServer::StartOutcome::WaitingForDatabase:
        window.show();
        break;
    }
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    prepareDriverEnvironment();
    if (isTerminalCommand(argc, argv)) {
        attachToTerminal();
        const QCoreApplication application(argc, argv);
        return runTerminalCommand(parseCommandLine(QCoreApplication::arguments(),
                                                   QCoreApplication::applicationDirPath()));
    }
    // Qt takes its own options out of the arguments here, before the program reads them.
    const std::unique_ptr<QApplication> application = startWindowSystem(argc, argv);
    return runProgram(
        parseCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath()));
}
