#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void placeWindow(QWidget* window, const QString& verticalAnchor, const QString& horizontalAnchor) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (window == nullptr || screen == nullptr || window->isMinimized() || window->isMaximized()) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    const int top =
        verticalAnchor == QLatin1String("TOP") ? 0 : (area.height() - outer.height()) / 2;
    int left = (area.width() - outer.width()) / 2;
    if (horizontalAnchor == QStringLiteral("좌")) {
        left = 0;
    } else if (horizontalAnchor == QStringLiteral("우")) {
        left = area.width() - outer.width();
    }
    window->move(area.x() + left, area.y() + top);
}
