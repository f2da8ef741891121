#include "confirmation_dialog.h"

#include "korean_font.h"
#include "window_drawing.h"
#include "window_placement.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

QString answer;

} // namespace

ConfirmationDialog::ConfirmationDialog() : question_(new QLabel(this)) {
    setObjectName(QStringLiteral("FrmPOS_다이얼로그"));
    setWindowTitle(QStringLiteral("ZelnorPOS_CS 확인"));
    setFixedSize(709, 314);
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);

    question_->setGeometry(24, 24, 663, 193);
    question_->setAlignment(Qt::AlignCenter);
    question_->setWordWrap(true);
    question_->setFont(koreanFont(18, true));
    question_->setStyleSheet(QStringLiteral("color: black; background: transparent;"));

    placeWindow(this, QString(), QString());
    answer.clear();
}

void ConfirmationDialog::setQuestion(const QString& text) {
    question_->setText(text);
}

void ConfirmationDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawWindowFrame(painter, rect(), QRect(16, 18, 677, 200));
    drawButtonPlate(painter, yesArea_, QStringLiteral("예"));
    drawButtonPlate(painter, noArea_, QStringLiteral("아니오"));
}

void ConfirmationDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    setCursor(yesArea_.contains(at) || noArea_.contains(at) ? Qt::PointingHandCursor
                                                            : Qt::ArrowCursor);
}

void ConfirmationDialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (yesArea_.contains(at)) {
        answer = QStringLiteral("예");
        hide();
        QApplication::processEvents();
        close();
    } else if (noArea_.contains(at)) {
        answer = QStringLiteral("아니오");
        close();
    }
}

QString dialogAnswer() {
    return answer;
}

QString askConfirmation(const QString& question) {
    auto* dialog = new ConfirmationDialog;
    dialog->setQuestion(question);
    dialog->exec();
    return dialogAnswer();
}
