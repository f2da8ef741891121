#include "main_window.h"

#include "korean_font.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {

const QString trayTip = QStringLiteral("젤노포스 식음 주방 출력 서버");

// The program's 32 x 32 icon: a receipt on a dark tile.
QIcon programIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 70, 130));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(0, 0, 32, 32, 6, 6);
    painter.setBrush(Qt::white);
    painter.drawRect(9, 5, 14, 22);
    painter.setPen(QPen(QColor(40, 70, 130), 2));
    for (int y = 10; y <= 22; y += 4) {
        painter.drawLine(12, y, 20, y);
    }
    return QIcon(pixmap);
}

QPushButton* newButton(const QString& name, const QString& text, const QRect& area,
                       QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(area);
    button->setFont(koreanFont(14, true));
    return button;
}

} // namespace

MainWindow::MainWindow()
    : version_(new QLabel(this)), trayIcon_(new QSystemTrayIcon(programIcon(), this)),
      hideButton_(newButton(QStringLiteral("버튼숨기기"), QStringLiteral("숨기기"),
                            QRect(236, 104, 124, 52), this)),
      exitButton_(newButton(QStringLiteral("버튼종료"), QStringLiteral("종 료"),
                            QRect(368, 104, 124, 52), this)) {
    setObjectName(QStringLiteral("FrmPOS_주방출력서버"));
    setWindowTitle(QStringLiteral("ZelnorPOS_CS 식음 주방 출력 서버"));
    setWindowIcon(trayIcon_->icon());
    setFixedSize(504, 176);
    setAutoFillBackground(true);
    setDatabaseReachable(true);

    auto* title = new QLabel(trayTip, this);
    title->setGeometry(16, 20, 472, 56);
    title->setAlignment(Qt::AlignCenter);
    title->setFont(koreanFont(18, true));

    version_->setObjectName(QStringLiteral("버젼"));
    version_->setGeometry(16, 128, 200, 24);
    version_->setFont(koreanFont(10, false));

    connect(hideButton_, &QPushButton::clicked, this, &MainWindow::hideToTray);
    connect(exitButton_, &QPushButton::clicked, this, &MainWindow::exitRequested);

    trayIcon_->setToolTip(trayTip);
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick) {
                    restoreFromTray();
                }
            });
}

void MainWindow::setVersionText(const QString& text) {
    version_->setText(text);
}

QString MainWindow::versionText() const {
    return version_->text();
}

void MainWindow::setDatabaseReachable(bool reachable) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, reachable ? QApplication::palette().color(QPalette::Button)
                                                 : QColor(255, 0, 0));
    setPalette(colours);
}

QColor MainWindow::backgroundColor() const {
    return palette().color(QPalette::Window);
}

void MainWindow::hideToTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    trayIcon_->show();
    hide();
}

bool MainWindow::isTrayIconShown() const {
    return trayIcon_->isVisible();
}

void MainWindow::restoreFromTray() {
    trayIcon_->hide();
    showNormal();
}

// Closing through the window frame sends the window back to the notification area.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hideToTray();
}
