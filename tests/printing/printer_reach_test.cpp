#include "printer_reach.h"

#include <gtest/gtest.h>

namespace {

const QString printer = QStringLiteral("프린터 10.0.0.9:9100");
const QDateTime start(QDate(2026, 12, 11), QTime(11, 30));

} // namespace

// A printer switched off is tried a second after the first failure, then ever less often, up
// to every half minute; the first success ends the episode at once.
TEST(PrinterReach, UnreachablePrinterBacksOffToHalfAMinuteAndRecoversAtOnce) {
    PrinterReach reach;
    EXPECT_TRUE(reach.mayTry(printer, start));
    QDateTime at = start;
    std::vector<qint64> retries;
    for (int failure = 0; failure < 7; ++failure) {
        reach.noteUnreachable(printer, at);
        QDateTime next = at;
        while (!reach.mayTry(printer, next)) {
            next = next.addSecs(1);
        }
        retries.push_back(at.secsTo(next));
        at = next;
    }
    EXPECT_EQ(retries, (std::vector<qint64>{1, 2, 4, 8, 16, 30, 30}));
    EXPECT_EQ(reach.unreachableSince(printer), start);
    reach.noteReached(printer, at);
    EXPECT_TRUE(reach.mayTry(printer, at));
    EXPECT_FALSE(reach.unreachableSince(printer));
}

// Also one that is switched off: its state checks are its only tries.
TEST(PrinterReach, IdlePrinterIsAskedItsStateEveryHalfMinute) {
    PrinterReach reach;
    EXPECT_TRUE(reach.stateCheckDue(printer, start)) << "asked once at the start";
    reach.noteReached(printer, start);
    EXPECT_FALSE(reach.stateCheckDue(printer, start.addSecs(29)));
    reach.noteUnreachable(printer, start.addSecs(30));
    EXPECT_FALSE(reach.stateCheckDue(printer, start.addSecs(59)));
    EXPECT_TRUE(reach.stateCheckDue(printer, start.addSecs(60)));
}
