#include "printer_conversation.h"

#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>

namespace {

const PrinterLimits limits{100, 30, 20, 40, 2, 1000000, 0, 2000};

// A printer behind a scripted link: it answers DLE EOT n with status.at(n) and GS r once it took
// what it holds, takes one held byte per look at its input unless stuck for a number of looks,
// holds its busy line for a number of looks, and sends flow control and text with every look.
class ScriptedLink : public PrinterLink {
public:
    std::map<char, char> status{{1, '\x12'}, {2, '\x12'}};
    std::optional<char> printedAnswer = '\0';
    qint64 held = 0;
    int stuckLooks = 0;
    int busyLooks = 0;
    bool mayWait = false;
    int printedRequests = 0;

    void writeRequest(const QByteArray& request) override {
        if (status.count(request.back()) != 0) {
            answers_ += status.at(request.back());
        }
    }
    void writeInTurn(const QByteArray& /*bytes*/) override {
        ++printedRequests;
        confirmationDue_ = printedAnswer.has_value();
    }
    QByteArray readInput(int /*waitMs*/) override {
        QThread::msleep(1);
        if (stuckLooks > 0) {
            --stuckLooks;
        } else {
            held = std::max<qint64>(held - 1, 0);
        }
        QByteArray input = QByteArrayLiteral("\x11\x13\x41\r\n") + std::exchange(answers_, {});
        if (held == 0 && std::exchange(confirmationDue_, false)) {
            input += *printedAnswer;
        }
        return input;
    }
    void discardInput() override {}
    qint64 heldBytes() override { return held; }
    bool printerBusy() override { return busyLooks-- > 0; }
    bool heldBytesMayWait() override { return mayWait; }
    bool printerGone(int /*silentMs*/) override { return false; }
    [[noreturn]] void fail(const QString& reason) override {
        throw std::runtime_error(reason.toStdString());
    }

private:
    QByteArray answers_;
    bool confirmationDue_ = false;
};

void expectFailure(const std::function<void()>& use, const char* reason) {
    try {
        use();
        ADD_FAILURE() << "no failure, expected " << reason;
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), reason);
    }
}

} // namespace

// Answers that the printer prints outlast the stall limit, noise is no confirmation, and a
// printer that keeps answering but never confirms ends at the job's limit.
TEST(PrinterConversationTest, AnswersAreProgressButOnlyTheConfirmationEndsTheWait) {
    ScriptedLink link;
    link.held = 20;
    link.stuckLooks = 250;
    PrinterConversation(link, limits).confirmPrinted(20);
    EXPECT_EQ(link.held, 0);

    link.printedAnswer.reset();
    link.held = 20;
    expectFailure([&] { PrinterConversation(link, limits).confirmPrinted(20); },
                  "프린터가 응답하지 않습니다");
}

// Found out once per run, with nothing pending: a printer that answers DLE EOT but not GS r (or
// answers it with another byte) is printed by what the transport tells.
TEST(PrinterConversationTest, PrinterThatCannotConfirmIsFoundOutAtTheProbe) {
    for (const std::optional<char> printedAnswer : {std::optional<char>(), std::optional('\x20')}) {
        ScriptedLink link;
        link.printedAnswer = printedAnswer;
        PrinterFindings findings;
        PrinterConversation conversation(link, limits);
        ASSERT_TRUE(conversation.probe(findings));
        const PrinterCheck check = conversation.checkReady(findings);
        EXPECT_FALSE(check.answers);
        EXPECT_TRUE(check.answersStatus);
        conversation.checkReady(findings);
        EXPECT_EQ(link.printedRequests, 1);
    }
}

// Paper end: a job the printer holds fails after the stop limit, and a printer holding its busy
// line says why instead of stalling; one that is not asked stalls.
TEST(PrinterConversationTest, StopsAreReportedWithTheirReason) {
    ScriptedLink link;
    link.status = {{1, '\x1a'}, {2, '\x32'}};
    link.held = 20;
    link.stuckLooks = 1000000;
    expectFailure([&] { PrinterConversation(link, limits).confirmPrinted(20); }, "용지가 없습니다");
    link.busyLooks = 1000000;
    expectFailure([&] { PrinterConversation(link, limits).waitWhileBusy(true); },
                  "용지가 없습니다");
    expectFailure([&] { PrinterConversation(link, limits).waitWhileBusy(false); },
                  "프린터가 출력을 받지 않습니다");

    link.status = {{1, '\x12'}, {2, '\x12'}};
    link.busyLooks = 200;
    PrinterConversation(link, limits).waitWhileBusy(true);
}

// Bytes that do not move stall a serial line, not a connection the printer is still there on.
TEST(PrinterConversationTest, HeldBytesWaitOnlyWhereTheTransportSaysThePrinterIsThere) {
    ScriptedLink link;
    link.held = 20;
    link.stuckLooks = 250;
    expectFailure([&] { PrinterConversation(link, limits).waitUntilTaken(20); },
                  "프린터가 출력을 받지 않습니다");
    link.mayWait = true;
    link.stuckLooks = 250;
    PrinterConversation(link, limits).waitUntilTaken(20, true);
    EXPECT_EQ(link.held, 0);
}
