#include "message_window.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs `action` from the event loop once the message window of the pending showMessage is
// open, the way a timer tick or the operator reaches it.
void whenOpen(std::function<void(MessageWindow&)> action) {
    QTimer::singleShot(0, [action] {
        MessageWindow* window = openMessageWindow();
        ASSERT_NE(window, nullptr);
        action(*window);
    });
}

} // namespace

TEST(MessageWindow, CountdownShowsTwoThenOneThenCloses) {
    QStringList seen;
    QTimer sampler;
    sampler.setInterval(250);
    QObject::connect(&sampler, &QTimer::timeout, [&seen] {
        const MessageWindow* window = openMessageWindow();
        const QString shown =
            window == nullptr
                ? QStringLiteral("closed")
                : (window->isCountdownShown() ? window->countdownText() : QStringLiteral("hidden"));
        if (seen.isEmpty() || seen.last() != shown) {
            seen << shown;
        }
    });
    sampler.start();
    showMessage(QStringLiteral("\r\n이미 실행 중입니다"), 3);
    sampler.stop();
    EXPECT_EQ(openMessageWindow(), nullptr);
    if (seen.last() == QStringLiteral("0")) {
        seen.removeLast(); // at most for the moment of closing
    }
    EXPECT_EQ(seen, (QStringList{"hidden", "2", "1"}));
}

TEST(MessageWindow, SecondRequestReplacesTheTextAndReturnsAtOnce) {
    bool secondReturned = false;
    whenOpen([&secondReturned](MessageWindow& window) {
        showMessage(QStringLiteral("\r\n두 번째"));
        secondReturned = true;
        EXPECT_EQ(window.message(), QStringLiteral("\r\n두 번째"));
        EXPECT_FALSE(window.isCountdownShown());
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    showMessage(QStringLiteral("\r\n첫 번째"));
    EXPECT_TRUE(secondReturned);
    EXPECT_EQ(openMessageWindow(), nullptr);
}

TEST(MessageWindow, OnlyEscapeAndTheOkAreaClose) {
    whenOpen([](MessageWindow& window) {
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::keyClick(&window, Qt::Key_A);
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(20, 20));
        EXPECT_TRUE(window.isVisible());
        QTest::mouseClick(&window, Qt::LeftButton, {}, window.okArea().center());
    });
    showMessage(QStringLiteral("\r\n확인을 누르세요"));
    EXPECT_EQ(openMessageWindow(), nullptr);
}

TEST(MessageWindow, EveryOpeningStartsWithTheCountdownHidden) {
    whenOpen([](MessageWindow& window) {
        EXPECT_FALSE(window.isCountdownShown());
        window.startCountdown(1);
    });
    showMessage(QStringLiteral("첫 번째"));
    whenOpen([](MessageWindow& window) {
        EXPECT_FALSE(window.isCountdownShown());
        EXPECT_EQ(window.countdownText(), QStringLiteral("30"));
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    showMessage(QStringLiteral("두 번째"), -5);
}
