#include "message_window.h"

#include "korean_font.h"
#include "operator_journal.h"
#include "window_drawing.h"
#include "window_placement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>

namespace {

QPointer<MessageWindow> currentWindow;

} // namespace

MessageWindow::MessageWindow()
    : message_(new QLabel(this)), countdown_(new QLabel(QStringLiteral("30"), this)) {
    setObjectName(QStringLiteral("FrmPOS_메세지"));
    setWindowTitle(QStringLiteral("ZelnorPOS_CS 메세지"));
    setFixedSize(708, 290);
    setAttribute(Qt::WA_DeleteOnClose);

    message_->setGeometry(18, 26, 671, 167);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    // A notice may carry a row's own text (a port, a settings value): shown as it is, it can
    // neither restyle the window nor pass for another notice.
    message_->setTextFormat(Qt::PlainText);
    message_->setFont(koreanFont(18, true));
    message_->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0); background: transparent;"));

    QFont countdownFont(QStringLiteral("Arial"));
    countdownFont.setPointSizeF(26.25);
    countdownFont.setBold(true);
    countdown_->setGeometry(608, 214, 79, 49);
    countdown_->setAlignment(Qt::AlignCenter);
    countdown_->setFont(countdownFont);
    countdown_->setStyleSheet(QStringLiteral("color: rgb(0, 64, 160); background: transparent;"));
    countdown_->hide();

    countdownTimer_.setInterval(1000);
    connect(&countdownTimer_, &QTimer::timeout, this, &MessageWindow::countDown);
}

void MessageWindow::setMessage(const QString& text) {
    message_->setText(text);
}

void MessageWindow::startCountdown(int seconds) {
    countdown_->setText(QString::number(seconds));
    countdownTimer_.start();
}

QString MessageWindow::message() const {
    return message_->text();
}

QString MessageWindow::countdownText() const {
    return countdown_->text();
}

bool MessageWindow::isCountdownShown() const {
    return !countdown_->isHidden();
}

void MessageWindow::countDown() {
    countdown_->show();
    const int left = countdown_->text().toInt() - 1;
    countdown_->setText(QString::number(left));
    if (left < 1) {
        countdownTimer_.stop();
        close();
    }
}

void MessageWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawWindowFrame(painter, rect(), QRect(12, 18, 683, 180));
    drawButtonPlate(painter, okArea_, QStringLiteral("확 인"));
}

void MessageWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
    }
}

void MessageWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (okArea_.contains(event->position().toPoint())) {
        hide();
        close();
    }
}

void showMessage(const QString& text, int countdownSeconds) {
    writeToJournal(text);
    const bool alreadyOpen = !currentWindow.isNull();
    if (!alreadyOpen) {
        currentWindow = new MessageWindow;
        placeWindow(currentWindow, QString(), QString());
    }
    if (countdownSeconds > 0) {
        currentWindow->startCountdown(countdownSeconds);
    }
    currentWindow->setMessage(text);
    if (alreadyOpen) {
        return;
    }
    currentWindow->exec();
    QApplication::processEvents();
}

MessageWindow* openMessageWindow() {
    return currentWindow.data();
}
