#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

// FrmPOS_메세지: the modal notice to the operator, with an OK area and an optional countdown
// after which it closes by itself. The countdown label's text is the only store of the
// remaining seconds.
class MessageWindow : public QDialog {
    Q_OBJECT

public:
    MessageWindow();

    void setMessage(const QString& text);
    void startCountdown(int seconds);

    QString message() const;
    QString countdownText() const;
    bool isCountdownShown() const;
    QRect okArea() const { return okArea_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void countDown();

    QLabel* message_;
    QLabel* countdown_;
    QTimer countdownTimer_;
    const QRect okArea_{276, 200, 167, 67};
};

// Shows the message window modally and returns when it has closed. A countdown above 0 closes
// it after that many seconds. While it is open, a second call replaces the text (and starts
// its countdown, if any) and returns at once. Every text also goes to standard error.
void showMessage(const QString& text, int countdownSeconds = 0);

// The message window while it is open, else nullptr.
MessageWindow* openMessageWindow();
