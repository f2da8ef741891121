#include "daily_logs.h"
#include "kitchen_job_run.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "printer_commands.h"
#include "serial_printer_port.h"
#include "test_rig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class RecordingPauses final : public Pauses {
public:
    void wait(int ms) override { waits.push_back(ms); }
    std::vector<int> waits;
};

// The job run on the real database and a socat pseudo-terminal as COM1, its waits recorded.
class KitchenJobRunTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        test_rig::runSql(QStringLiteral(
            "Delete From 주방출력물; Delete From 환경설정; Insert Into 환경설정 (매장코드, POSID, "
            "영수증딜레이타임, 주방프린터하단마진, 하단마진, 좌측여백, 주문서에객수표시) Values "
            "('S001', '01', 20, 0, 0, 0, '0');"));
        QDir(folder_.path()).mkdir(QStringLiteral("ports"));
        socat_.start(QStringLiteral("socat"),
                     {QStringLiteral("pty,raw,echo=0,link=%1/ports/COM1").arg(folder_.path()),
                      QStringLiteral("pty,raw,echo=0,link=%1/printer").arg(folder_.path())});
        for (int tries = 0; tries < 100 && !QFile::exists(folder_.filePath("printer")); ++tries) {
            QTest::qWait(20);
        }
        ASSERT_TRUE(database_.connectDatabase());
        preparePrinterCommands(commands_, database_.settings());
    }

    void TearDown() override {
        socat_.terminate();
        socat_.waitForFinished();
    }

    void addJob(int table, const QString& body, const QString& port = QStringLiteral("COM1"),
                const QString& parameters = QStringLiteral("9600,N,8,1")) {
        test_rig::runSql(
            QStringLiteral("Insert Into 주방출력물 (매장코드, IP주소, POSID, 프린터포트, "
                           "정리완료, 출력물종류, 테이블번호, 프린터파라미터, "
                           "프린트내용) Values ('S001', '127.0.0.1', '01', '%1', "
                           "'1', '영수증', %2, '%3', '%4');")
                .arg(port)
                .arg(table)
                .arg(parameters, body));
    }

    KitchenJobRun jobRun() { return KitchenJobRun(context_); }

    int pendingJobs() {
        return static_cast<int>(
            database_.connection().query(QStringLiteral("Select * From 주방출력물")).size());
    }

    QTemporaryDir folder_;
    QProcess socat_;
    PosDatabase database_{
        StoreIdentity{QStringLiteral("S001"), QStringLiteral("01"), QStringLiteral("127.0.0.1")},
        [](const QString&) {}};
    SerialPrinterPort port_{folder_.path()};
    PrinterCommands commands_;
    DailyLogs logs_{folder_.path()};
    RecordingPauses pauses_;
    NetworkPrinters networkPrinters_;
    QStringList messages_;
    PrintingContext context_{database_,
                             port_,
                             networkPrinters_,
                             commands_,
                             logs_,
                             pauses_,
                             [this](const QString& text) { messages_ << text; },
                             &QDateTime::currentDateTime};
};

} // namespace

// Per body line the receipt delay, then 15 ms a line; 100 ms before and after closing the
// port; 100 ms after each deleted job.
TEST_F(KitchenJobRunTest, SerialJobsArePacedByTheirLinesAndTheFixedWaits) {
    addJob(1, QStringLiteral("a\r\nb\r\nc\r\n"));
    addJob(2, QStringLiteral("d\r\n"));
    jobRun().run(QStringLiteral("127.0.0.1"), 0);
    EXPECT_EQ(pauses_.waits,
              (std::vector<int>{20, 20, 20, 45, 100, 100, 100, 20, 15, 100, 100, 100}));
    EXPECT_EQ(pendingJobs(), 0);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(KitchenJobRunTest, BadRowStaysAndIsReportedOnceAfterTheRowsBehindItPrinted) {
    addJob(1, QStringLiteral("a\r\n"));
    addJob(2, QStringLiteral("b\r\n"), QStringLiteral("COM"));
    addJob(3, QStringLiteral("c\r\n"), QStringLiteral("COM1"), QStringLiteral("9600,X,8,1"));
    addJob(4, QStringLiteral("d\r\n"));
    jobRun().run(QStringLiteral("127.0.0.1"), 0);
    EXPECT_EQ(pendingJobs(), 2);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.at(0).startsWith(QStringLiteral("\r\n")));
}

TEST_F(KitchenJobRunTest, PortLeftOpenByAnInterruptedUseIsClosedFirst) {
    port_.setPortNumber(1);
    port_.setSettings(QStringLiteral("9600,N,8,1"));
    port_.open();
    addJob(1, QStringLiteral("a\r\n"));
    jobRun().run(QStringLiteral("127.0.0.1"), 0);
    EXPECT_EQ(pendingJobs(), 0);
    EXPECT_FALSE(port_.isOpen());
}
