#include "printer_conversation.h"

#include <QThread>
#include <gtest/gtest.h>
#include <map>

namespace {

const PrinterLimits limits{100, 30, 20, 40, 2, 1000000, 0, 2000};
const std::string notTaking = "프린터가 출력을 받지 않습니다";
const std::string paperOut = "용지가 없습니다";

// A printer behind a scripted link: it answers DLE EOT n with status.at(n) and GS r once it took
// what it holds, takes a held byte per look at its input once no longer stuck, holds its busy
// line for a number of looks, and sends flow control and text with every look.
struct ScriptedLink : PrinterLink {
    std::map<char, char> status{{1, '\x12'}, {2, '\x12'}};
    std::optional<char> printedAnswer = '\0';
    qint64 held = 20;
    int stuckLooks = 250;
    int busyLooks = 0;
    bool mayWait = false;
    int printedRequests = 0;
    QByteArray answers;
    bool confirmationDue = false;

    void writeRequest(const QByteArray& request) override { answers += status.at(request.back()); }
    void writeInTurn(const QByteArray& /*bytes*/) override {
        ++printedRequests;
        confirmationDue = printedAnswer.has_value();
    }
    QByteArray readInput(int /*waitMs*/) override {
        QThread::msleep(1);
        held = stuckLooks-- > 0 ? held : std::max<qint64>(held - 1, 0);
        QByteArray input = QByteArrayLiteral("\x11\x13\x41\r\n") + std::exchange(answers, {});
        if (held == 0 && std::exchange(confirmationDue, false)) {
            input += *printedAnswer;
        }
        return input;
    }
    void discardInput() override {}
    qint64 heldBytes() override { return held; }
    bool printerBusy() override { return busyLooks-- > 0; }
    bool heldBytesMayWait() override { return mayWait; }
    bool printerGone(int /*silentMs*/) override { return false; }
    [[noreturn]] void fail(const QString& reason) override { throw reason; }
};

std::string failure(const std::function<void()>& use) {
    try {
        use();
    } catch (const QString& reason) {
        return reason.toStdString();
    }
    return "no failure";
}

} // namespace

// Answers that the printer prints, or a connection it is still there on, outlast the stall limit
// where a serial line stalls; noise confirms nothing, and a printer that keeps answering but never
// confirms is given up at the job's limit.
TEST(PrinterConversationTest, WaitsEndByConfirmationOrBytesTakenOrALimit) {
    ScriptedLink link;
    PrinterConversation(link, limits).confirmPrinted(20);
    EXPECT_EQ(link.held, 0);
    link.held = 20;
    link.stuckLooks = 250;
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).waitUntilTaken(20); }), notTaking);
    link.mayWait = true;
    PrinterConversation(link, limits).waitUntilTaken(20, true);
    link.printedAnswer.reset();
    link.held = 20;
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).confirmPrinted(20); }),
              "프린터가 응답하지 않습니다");
}

// Found out once per run, with nothing pending: a printer that answers DLE EOT but not GS r (or
// answers it with another byte) is printed by what the transport tells.
TEST(PrinterConversationTest, PrinterThatCannotConfirmIsFoundOutAtTheProbe) {
    for (const std::optional<char> printedAnswer : {std::optional<char>(), std::optional('\x20')}) {
        ScriptedLink link;
        link.held = 0;
        link.printedAnswer = printedAnswer;
        PrinterFindings findings;
        PrinterConversation conversation(link, limits);
        ASSERT_TRUE(conversation.probe(findings));
        const PrinterCheck check = conversation.checkReady(findings);
        EXPECT_TRUE(!check.answers && check.answersStatus);
        conversation.checkReady(findings);
        EXPECT_EQ(link.printedRequests, 1);
    }
}

// Paper end: a job the printer holds fails after the stop limit, and a printer that holds its
// busy line says why instead of stalling (unasked, it stalls); while it prints, it is waited for,
// but not for longer than printing a full buffer takes.
TEST(PrinterConversationTest, StopsAreReportedWithTheirReason) {
    ScriptedLink link;
    link.status = {{1, '\x1a'}, {2, '\x32'}};
    link.stuckLooks = link.busyLooks = 1000000;
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).confirmPrinted(20); }), paperOut);
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).waitWhileBusy(true); }), paperOut);
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).waitWhileBusy(false); }), notTaking);
    link.status = {{1, '\x12'}, {2, '\x12'}};
    EXPECT_EQ(failure([&] { PrinterConversation(link, limits).waitWhileBusy(true); }), notTaking);
    link.busyLooks = 250;
    PrinterConversation(link, limits).waitWhileBusy(true);
}
