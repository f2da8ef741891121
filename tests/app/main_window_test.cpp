#include "main_window.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

TEST(MainWindow, HasTheProgramsCaptionSizeAndVersion) {
    MainWindow window;
    window.setVersionText(QStringLiteral("Ver : 22.3.27"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZelnorPOS_CS 식음 주방 출력 서버"));
    EXPECT_EQ(window.size(), QSize(504, 176));
    EXPECT_EQ(window.versionText(), QStringLiteral("Ver : 22.3.27"));
}

TEST(MainWindow, BackgroundIsRedOnlyWhileTheDatabaseIsUnreachable) {
    MainWindow window;
    window.setDatabaseReachable(false);
    EXPECT_EQ(window.backgroundColor(), QColor(255, 0, 0));
    window.setDatabaseReachable(true);
    EXPECT_EQ(window.backgroundColor(), QApplication::palette().color(QPalette::Button));
}

// The offscreen desktop has no notification area: the window must stay reachable.
TEST(MainWindow, WithoutNotificationAreaHidingMinimisesInstead) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    MainWindow window;
    window.show();
    window.hideToTray();
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(window.isTrayIconShown());
}

TEST(MainWindow, ClosingThroughTheFrameHidesInsteadOfEnding) {
    MainWindow window;
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isMinimized());
}
