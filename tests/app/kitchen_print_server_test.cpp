#include "codepage949.h"
#include "kitchen_print_server.h"
#include "main_window.h"
#include "test_rig.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString seventyNineOptionLines() {
    QStringList lines;
    for (int line = 1; line <= 79; ++line) {
        lines << QStringLiteral("o%1=%1").arg(line == 72 ? 1 : line);
    }
    return lines.join(QStringLiteral("\r\n"));
}

class KitchenPrintServerTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        test_rig::runSql(
            QStringLiteral("Delete From 환경설정; Insert Into 환경설정 (매장코드, POSID, "
                           "영수증딜레이타임, 메인포스로사용, 기타옵션) Values "
                           "('S001', '01', 10, '0', '%1');")
                .arg(seventyNineOptionLines()));
        QFile config(folder_.filePath(QStringLiteral("환경설정.CFG")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(toCodePage949(QStringLiteral(
            "[POS]\r\n매장코드=S001\r\nPOSID=01\r\nSERVER=127.0.0.1\r\nDB=MS-SQL\r\n")));
    }

    void TearDown() override {
        if (test_rig::isActive()) {
            test_rig::startDatabase();
        }
    }

    QTemporaryDir folder_;
    MainWindow window_;
};

const QColor red(255, 0, 0);

TEST_F(KitchenPrintServerTest, ReachableDatabaseStartsPrintingWithTheOptionsLoaded) {
    KitchenPrintServer server(folder_.path(), window_);
    EXPECT_EQ(server.start(), KitchenPrintServer::StartOutcome::Running);
    EXPECT_TRUE(server.isPrintTimerActive());
    EXPECT_FALSE(server.isDatabaseTimerActive());
    EXPECT_EQ(window_.versionText(), QStringLiteral("Ver : 22.3.27"));
    EXPECT_NE(window_.backgroundColor(), red);
    EXPECT_EQ(server.database()->otherOptions().text(OtherOptions::option72Slot),
              QStringLiteral("1"));
}

// After a start without database the option slots stay empty for the whole run.
TEST_F(KitchenPrintServerTest, UnreachableDatabaseShowsRedUntilTheRetriesSucceed) {
    test_rig::stopDatabase();
    KitchenPrintServer server(folder_.path(), window_);
    EXPECT_EQ(server.start(), KitchenPrintServer::StartOutcome::WaitingForDatabase);
    EXPECT_EQ(window_.backgroundColor(), red);
    EXPECT_TRUE(server.isDatabaseTimerActive());
    EXPECT_FALSE(server.isPrintTimerActive());
    QTest::qWait(500);
    EXPECT_EQ(window_.backgroundColor(), red);

    test_rig::startDatabase();
    for (int waited = 0; waited < 100 && !server.isPrintTimerActive(); ++waited) {
        QTest::qWait(100);
    }
    ASSERT_TRUE(server.isPrintTimerActive());
    EXPECT_FALSE(server.isDatabaseTimerActive());
    EXPECT_EQ(window_.backgroundColor(), QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(server.database()->otherOptions().text(OtherOptions::option72Slot).isEmpty());
    EXPECT_EQ(server.database()->otherOptions().text(OtherOptions::sqlPortSlot),
              QStringLiteral("1433"));
}

} // namespace
