#include "driver_environment.h"
#include "kitchen_print_server.h"
#include "main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    prepareDriverEnvironment();
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);

    MainWindow window;
    KitchenPrintServer server(QCoreApplication::applicationDirPath(), window);
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
