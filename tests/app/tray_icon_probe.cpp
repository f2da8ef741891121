#include "main_window.h"

#include <QApplication>
#include <cstdio>

// Runs the main window on the test desktop and sends it to the notification area twice, so
// that the desktop test can count the icons the notification area holds.
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    window.hideToTray();
    window.hideToTray();
    std::fprintf(stderr, "hidden to the notification area twice\n");
    return QApplication::exec();
}
