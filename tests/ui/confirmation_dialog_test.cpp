#include "confirmation_dialog.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answers the dialog that the next askConfirmation opens, as the operator does.
QString answerWith(std::function<void(ConfirmationDialog&)> operatorAction) {
    QTimer::singleShot(0, [operatorAction] {
        auto* dialog = qobject_cast<ConfirmationDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        operatorAction(*dialog);
    });
    return askConfirmation(QStringLiteral("프로그램을 종료 할까요?"));
}

} // namespace

TEST(ConfirmationDialog, AnyMouseButtonReleasedOverYesAnswersYes) {
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        EXPECT_EQ(answerWith([button](ConfirmationDialog& dialog) {
                      QTest::mouseRelease(&dialog, button, {}, dialog.yesArea().center());
                  }),
                  QStringLiteral("예"));
    }
}

TEST(ConfirmationDialog, ReleaseOverNoAnswersNo) {
    EXPECT_EQ(answerWith([](ConfirmationDialog& dialog) {
                  QTest::mouseRelease(&dialog, Qt::RightButton, {}, dialog.noArea().center());
              }),
              QStringLiteral("아니오"));
}

TEST(ConfirmationDialog, ClosedWithoutAChoiceAnswersNothingAndEveryOpeningStartsEmpty) {
    answerWith([](ConfirmationDialog& dialog) {
        QTest::mouseRelease(&dialog, Qt::LeftButton, {}, dialog.yesArea().center());
    });
    EXPECT_EQ(answerWith([](ConfirmationDialog& dialog) {
                  EXPECT_EQ(dialogAnswer(), QString());
                  QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
                  EXPECT_TRUE(dialog.isVisible());
                  dialog.close();
              }),
              QString());
}
