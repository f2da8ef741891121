#include "store_status.h"

#include <gtest/gtest.h>

namespace {

const QDateTime morning(QDate(2026, 12, 10), QTime(9, 0));
const QString com1 = QStringLiteral("COM1");
const QString network = QStringLiteral("프린터 10.0.0.5:9100");

} // namespace

// The icon shows the worst of the store; the tip lists faults before the paper that runs low,
// in words that stay the same while a trouble lasts.
TEST(StoreStatus, TheWorstTroubleDecidesAndFaultsAreListedFirst) {
    StoreStatus status;
    status.setDatabaseConnected();
    status.addPrinter(com1);
    status.addPrinter(network);
    EXPECT_EQ(status.severity(), StoreStatus::Severity::normal);
    EXPECT_TRUE(status.problems().isEmpty());

    status.notePrinted(com1, morning, true);
    EXPECT_EQ(status.severity(), StoreStatus::Severity::warning);
    status.noteTrouble(network, PrinterTrouble::coverOpen, QStringLiteral("덮개가 열려 있습니다"));
    status.setLogProblem(QStringLiteral("ERROR_LOG 폴더를 만들 수 없습니다"));
    EXPECT_EQ(status.severity(), StoreStatus::Severity::fault);
    EXPECT_EQ(status.problems(),
              QStringList({network + ": 덮개 열림", "로그: 쓸 수 없음", com1 + ": 용지 부족"}));

    status.setLogProblem(QString());
    status.notePrinted(network, morning, false);
    EXPECT_EQ(status.printers().size(), 2);
    EXPECT_EQ(status.severity(), StoreStatus::Severity::warning);
}

TEST(StoreStatus, TheDaysCountStartsAgainOnANewDay) {
    StoreStatus status;
    status.notePrinted(com1, morning, false);
    status.notePrinted(com1, morning.addSecs(60), false);
    EXPECT_EQ(status.printers().constFirst().printedOn(morning.date()), 2);
    EXPECT_EQ(status.printers().constFirst().printedOn(morning.date().addDays(1)), 0);
    status.notePrinted(com1, morning.addDays(1), false);
    EXPECT_EQ(status.printers().constFirst().printedOn(morning.date().addDays(1)), 1);
}

// A printer switched off shows since when; a state check that finds it ready ends any trouble
// but paper running low, which only a printed ticket can tell.
TEST(StoreStatus, UnreachableSinceAndReadyAgain) {
    StoreStatus status;
    status.setDatabaseConnected();
    const QString detail = QStringLiteral("%1 에 연결할 수 없습니다 (09:00:00부터)").arg(network);
    status.noteUnreachable(network, morning, detail);
    const PrinterHealth& health = status.printers().constFirst();
    EXPECT_EQ(printerStateLabel(health), QStringLiteral("연결 안 됨"));
    EXPECT_EQ(health.unreachableSince, morning);
    EXPECT_EQ(health.detail, detail);
    status.noteReady(network);
    EXPECT_EQ(status.severity(), StoreStatus::Severity::normal);
    EXPECT_FALSE(status.printers().constFirst().unreachableSince.isValid());
    status.notePrinted(com1, morning, true);
    status.noteReady(com1);
    EXPECT_EQ(status.severity(), StoreStatus::Severity::warning);
}
