#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QRect screenArea() {
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

TEST(WindowPlacement, EmptyAnchorsCentreTheWindow) {
    QWidget window;
    window.resize(300, 200);
    placeWindow(&window, QString(), QString());
    const QSize outer = window.frameGeometry().size();
    EXPECT_EQ(window.pos(), QPoint((screenArea().width() - outer.width()) / 2,
                                   (screenArea().height() - outer.height()) / 2));
}

TEST(WindowPlacement, AnchorsAreComparedExactly) {
    QWidget window;
    window.resize(300, 200);
    const QSize outer = window.frameGeometry().size();
    const int centredTop = (screenArea().height() - outer.height()) / 2;
    placeWindow(&window, QStringLiteral("TOP"), QStringLiteral("좌"));
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    placeWindow(&window, QStringLiteral("top"), QStringLiteral("우"));
    EXPECT_EQ(window.pos(), QPoint(screenArea().width() - outer.width(), centredTop));
}

TEST(WindowPlacement, WindowLargerThanTheScreenIsNotClamped) {
    QWidget window;
    window.resize(screenArea().width() + 200, screenArea().height() + 100);
    placeWindow(&window, QString(), QString());
    EXPECT_LT(window.pos().x(), 0);
    EXPECT_LT(window.pos().y(), 0);
}

TEST(WindowPlacement, MaximisedWindowStaysWhereItIs) {
    QWidget window;
    window.showMaximized();
    const QPoint before = window.pos();
    placeWindow(&window, QStringLiteral("TOP"), QStringLiteral("우"));
    EXPECT_EQ(window.pos(), before);
}
