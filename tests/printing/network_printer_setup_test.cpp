#include "daily_logs.h"
#include "network_printer_setup.h"
#include "network_printers.h"
#include "pos_database.h"
#include "test_rig.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class NetworkPrinterSetupTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        test_rig::runSql(QStringLiteral(
            "Delete From 주방프린터; Delete From 환경설정; Insert Into 환경설정 (매장코드, POSID, "
            "영수증딜레이타임) Values ('S001', '01', 10);"));
        ASSERT_TRUE(database_.connectDatabase());
    }

    void addPrinters(const QString& values) {
        test_rig::runSql(
            QStringLiteral("Insert Into 주방프린터 (매장코드, 프린터포트, IP주소) Values %1;")
                .arg(values));
    }

    QTemporaryDir folder_;
    PosDatabase database_{
        StoreIdentity{QStringLiteral("S001"), QStringLiteral("01"), QStringLiteral("127.0.0.1")},
        [](const QString&) {}};
    DailyLogs logs_{folder_.path()};
    NetworkPrinters printers_;
};

} // namespace

TEST_F(NetworkPrinterSetupTest, OnlyNetworkPrinterRowsAreListedNumberedFromOne) {
    addPrinters(QStringLiteral("('S001', 'COM1', '10.0.0.1'), ('S001', 'com2', '10.0.0.2'), "
                               "('S001', '00000', '10.0.0.3'), ('S001', '9100', '10.0.0.4'), "
                               "('S002', '9100', '10.0.0.5')"));
    loadNetworkPrinters(database_, printers_, logs_);
    ASSERT_EQ(printers_.count(), 1);
    EXPECT_EQ(printers_.at(1).host, QStringLiteral("10.0.0.4"));
    EXPECT_EQ(printers_.at(1).port, 9100);
}

TEST_F(NetworkPrinterSetupTest, PortThatIsNotANumberIsLoggedAndLaterRowsAreNotListed) {
    addPrinters(QStringLiteral("('S001', '9100', '10.0.0.1'), ('S001', 'LPT1', '10.0.0.2'), "
                               "('S001', '9101', '10.0.0.3')"));
    loadNetworkPrinters(database_, printers_, logs_);
    EXPECT_EQ(printers_.count(), 2);
    const QStringList logs =
        QDir(folder_.filePath(QStringLiteral("ERROR_LOG"))).entryList(QDir::Files);
    EXPECT_EQ(logs.size(), 1);
}
