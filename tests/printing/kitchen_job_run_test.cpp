#include "codepage949.h"
#include "daily_logs.h"
#include "kitchen_job_run.h"
#include "layout_expectations.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "printer_commands.h"
#include "printer_lanes.h"
#include "printer_reach.h"
#include "remembered_rows.h"
#include "store_status.h"
#include "test_rig.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The lanes wait on their own threads; the test reads the waits once the lanes are idle.
class RecordingPauses final : public Pauses {
public:
    void wait(int ms) override {
        const std::lock_guard lock(mutex_);
        waits_.push_back(ms);
    }
    std::vector<int> waits() {
        const std::lock_guard lock(mutex_);
        return waits_;
    }

private:
    std::mutex mutex_;
    std::vector<int> waits_;
};

// The job run on the real database and a socat pseudo-terminal as COM1, its waits recorded;
// the test reads the other end of the pair as the printer.
class KitchenJobRunTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        test_rig::runSql(QStringLiteral(
            "Delete From 주방출력물; Delete From 주문합계; Delete From 환경설정; "
            "Insert Into 환경설정 (매장코드, POSID, 영수증딜레이타임, 주방프린터하단마진, "
            "하단마진, 좌측여백, 주문서에객수표시) Values ('S001', '01', 20, 0, 0, 0, '0');"));
        QDir(folder_.path()).mkdir(QStringLiteral("ports"));
        socat_.start(QStringLiteral("socat"),
                     {QStringLiteral("pty,raw,echo=0,link=%1/ports/COM1").arg(folder_.path()),
                      QStringLiteral("pty,raw,echo=0,link=%1/printer").arg(folder_.path())});
        for (int tries = 0; tries < 100 && !QFile::exists(folder_.filePath("printer")); ++tries) {
            QTest::qWait(20);
        }
        printer_ = open(qPrintable(folder_.filePath("printer")), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(printer_, 0);
        ASSERT_TRUE(database_.connectDatabase());
        preparePrinterCommands(commands_, database_.settings());
    }

    void TearDown() override {
        if (printer_ >= 0) {
            close(printer_);
        }
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

    // One run, and the lanes' outcomes until no lane holds a job.
    void runJobs() {
        jobRun_.run(QStringLiteral("127.0.0.1"), 0);
        for (int tries = 0; tries < 3000 && lanes_.jobsHeld() > 0; ++tries) {
            QTest::qWait(10);
        }
        ASSERT_EQ(lanes_.jobsHeld(), 0);
    }

    // What reached the printer, read until it holds `last` or nothing more comes for 5 s.
    QByteArray readPrinterUntil(const QByteArray& last) const {
        QByteArray received;
        pollfd waiting{printer_, POLLIN, 0};
        while (!received.contains(last) && poll(&waiting, 1, 5000) > 0) {
            char chunk[4096];
            const ssize_t size = read(printer_, chunk, sizeof chunk);
            if (size <= 0) {
                break;
            }
            received.append(chunk, size);
        }
        return received;
    }

    int pendingJobs() {
        return static_cast<int>(
            database_.connection().query(QStringLiteral("Select * From 주방출력물")).size());
    }

    QTemporaryDir folder_;
    QProcess socat_;
    int printer_ = -1;
    PosDatabase database_{
        StoreIdentity{QStringLiteral("S001"), QStringLiteral("01"), QStringLiteral("127.0.0.1")},
        [](const QString&) {}};
    PrinterCommands commands_;
    DailyLogs logs_{folder_.path()};
    RememberedRows rememberedRows_{folder_.path(), logs_, QStringLiteral("127.0.0.1/S001")};
    StoreStatus status_;
    RecordingPauses pauses_;
    NetworkPrinters networkPrinters_;
    QStringList messages_;
    PrinterLanes lanes_{folder_.path(), pauses_};
    PrintingContext context_{database_,
                             lanes_,
                             networkPrinters_,
                             commands_,
                             logs_,
                             rememberedRows_,
                             status_,
                             [this](const QString& text) { messages_ << text; },
                             &QDateTime::currentDateTime};
    PrinterReach reach_;
    KitchenJobRun jobRun_{context_, reach_};
};

} // namespace

// Per body line the receipt delay, then 15 ms a line; 100 ms before and after closing the
// port; 100 ms after each deleted job. The printer gets each job's bytes once, in table order,
// with the status request that finds out whether it answers before each job, never inside one.
TEST_F(KitchenJobRunTest, SerialJobsArePacedByTheirLinesAndTheFixedWaits) {
    using namespace layout_expectations;
    addJob(1, QStringLiteral("a\r\nb\r\nc\r\n"));
    addJob(2, QStringLiteral("d\r\n"));
    runJobs();
    EXPECT_EQ(pauses_.waits(),
              (std::vector<int>{20, 20, 20, 45, 100, 100, 100, 20, 15, 100, 100, 100}));
    const QString line = sizeNormal + alignLeft;
    const QString end = alignLeft + sizeNormal;
    const QByteArray probe("\x10\x04\x01", 3);
    const QByteArray expected = probe +
                                toCodePage949(alignCenter + doubleSize + line + "a" + crlf + line +
                                              "b" + crlf + line + "c" + crlf + end) +
                                probe +
                                toCodePage949(alignCenter + doubleSize + line + "d" + crlf + end);
    EXPECT_EQ(readPrinterUntil(expected), expected);
    EXPECT_EQ(pendingJobs(), 0);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(KitchenJobRunTest, BadRowStaysAndIsReportedOnceAfterTheRowsBehindItPrinted) {
    addJob(1, QStringLiteral("a\r\n"));
    addJob(2, QStringLiteral("b\r\n"), QStringLiteral("COM"));
    addJob(3, QStringLiteral("c\r\n"), QStringLiteral("COM1"), QStringLiteral("9600,X,8,1"));
    addJob(4, QStringLiteral("d\r\n"));
    runJobs();
    EXPECT_EQ(pendingJobs(), 2);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_.at(0).startsWith(QStringLiteral("\r\n")));
}

// The tick after a job was handed finds its row still in the table while the lane prints it.
TEST_F(KitchenJobRunTest, JobHeldByItsLaneIsNotHandedAgainBeforeItsOutcome) {
    addJob(1, QStringLiteral("ONCE\r\n"));
    jobRun_.run(QStringLiteral("127.0.0.1"), 0);
    runJobs();
    EXPECT_EQ(readPrinterUntil("never").count("ONCE"), 1);
    EXPECT_EQ(pendingJobs(), 0);
}

// With 주문서에객수표시 on, a 후불형 order sheet shows the guest count of its table from
// 주문합계; a table with no count there for this store shows none.
TEST_F(KitchenJobRunTest, PostPaidOrderSheetShowsTheGuestCountOfItsTable) {
    addJob(5, QStringLiteral("김치찌개 1\r\n"));
    addJob(6, QStringLiteral("김치찌개 1\r\n"));
    test_rig::runSql(QStringLiteral(
        "Update 주방출력물 Set 출력물종류 = '주문서', 테이블명 = 테이블번호::text; "
        "Insert Into 주문합계 (매장코드, 테이블번호, 객수) Values ('S001', 5, 4), ('S002', 6, 9); "
        "Update 환경설정 Set 포스타입 = '후불형', 주문서에객수표시 = '1';"));
    ASSERT_TRUE(database_.connectDatabase());
    runJobs();
    const QByteArray withGuests = toCodePage949(QStringLiteral("테이블 : 5 (4명)\r\n"));
    const QByteArray withoutGuests = toCodePage949(QStringLiteral("테이블 : 6 \r\n"));
    const QByteArray received = readPrinterUntil(withoutGuests);
    EXPECT_TRUE(received.contains(withGuests));
    EXPECT_TRUE(received.contains(withoutGuests));
}
