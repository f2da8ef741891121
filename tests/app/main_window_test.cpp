#include "main_window.h"
#include "status_list.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

TEST(MainWindow, HasTheProgramsCaptionSizeAndVersion) {
    MainWindow window;
    window.setVersionText(QStringLiteral("Ver : 22.3.27"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZelnorPOS_CS 식음 주방 출력 서버"));
    EXPECT_EQ(window.size(), QSize(504, 292));
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

TEST(MainWindow, StatusListAndTipSayWhatIsWrongUntilItIsMended) {
    MainWindow window;
    StoreStatus status;
    status.setDatabaseConnected();
    status.noteTrouble(QStringLiteral("COM1"), PrinterTrouble::paperOut,
                       QStringLiteral("COM1: 용지가 없습니다"));
    status.setWaitingJobs(QStringLiteral("COM1"), 2);
    window.showStatus(status);
    const StatusList& list = window.statusList();
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.textAt(0, 1), QStringLiteral("연결됨"));
    EXPECT_EQ(QStringList({list.textAt(1, 0), list.textAt(1, 1), list.textAt(1, 3)}),
              QStringList({"COM1", "용지 없음", "대기 2"}));
    EXPECT_TRUE(window.trayTipText().endsWith(QStringLiteral("\nCOM1: 용지 없음")));
    status.notePrinted(QStringLiteral("COM1"), QDateTime(QDate(2026, 12, 10), QTime(12, 3, 15)),
                       false);
    status.setDatabaseLost(QStringLiteral("Adaptive Server is unavailable"));
    window.showStatus(status);
    EXPECT_EQ(list.textAt(0, 1), QStringLiteral("Adaptive Server is unavailable"));
    EXPECT_EQ(list.textAt(1, 2), QStringLiteral("마지막 출력 12:03:15"));
    EXPECT_EQ(window.trayTipText(),
              QStringLiteral("젤노포스 식음 주방 출력 서버\n데이타베이스: 연결 안 됨"));
}
