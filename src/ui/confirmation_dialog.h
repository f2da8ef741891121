#pragma once

#include <QDialog>

class QLabel;

// FrmPOS_다이얼로그: a yes/no question. A mouse button released over the yes area answers
// "예", over the no area "아니오"; closing it any other way leaves the answer "".
class ConfirmationDialog : public QDialog {
    Q_OBJECT

public:
    ConfirmationDialog();

    void setQuestion(const QString& text);
    QRect yesArea() const { return yesArea_; }
    QRect noArea() const { return noArea_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* question_;
    const QRect yesArea_{188, 224, 163, 67};
    const QRect noArea_{360, 224, 167, 69};
};

// The answer of the latest confirmation: "예", "아니오", or "" when closed without a choice.
QString dialogAnswer();

// Asks the question modally and returns the answer once the dialog has closed.
QString askConfirmation(const QString& question);
