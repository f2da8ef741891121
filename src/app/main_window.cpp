#include "main_window.h"

#include "korean_font.h"
#include "status_list.h"
#include "store_status_lines.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {

const QString trayTip = QStringLiteral("젤노포스 식음 주방 출력 서버");

constexpr int balloonMs = 10000;

// The program's 32 x 32 icon: a receipt on a dark tile; a yellow or red corner while something
// is wrong.
QIcon programIcon(StoreStatus::Severity severity = StoreStatus::Severity::normal) {
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
    if (severity != StoreStatus::Severity::normal) {
        painter.setPen(QPen(Qt::white, 2));
        painter.setBrush(severity == StoreStatus::Severity::fault ? QColor(220, 0, 0)
                                                                  : QColor(240, 180, 0));
        painter.drawEllipse(17, 17, 14, 14);
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
                            QRect(368, 104, 124, 52), this)),
      statusList_(new StatusList(this)) {
    setObjectName(QStringLiteral("FrmPOS_주방출력서버"));
    setWindowTitle(QStringLiteral("ZelnorPOS_CS 식음 주방 출력 서버"));
    setWindowIcon(trayIcon_->icon());
    setFixedSize(504, 292);
    statusList_->setGeometry(16, 168, 472, 108);
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

void MainWindow::showStatus(const StoreStatus& status) {
    statusList_->setLines(statusLinesOf(status));
    const QStringList problems = status.problems();
    trayIcon_->setIcon(programIcon(status.severity()));
    trayIcon_->setToolTip(problems.isEmpty()
                              ? trayTip
                              : trayTip + QLatin1Char('\n') + problems.join(QLatin1Char('\n')));
    announceNewProblems(problems, status.severity());
    shownProblems_ = problems;
}

QString MainWindow::trayTipText() const {
    return trayIcon_->toolTip();
}

// Only while the window is hidden: the list shows everything to an operator who has it open.
void MainWindow::announceNewProblems(const QStringList& problems, StoreStatus::Severity severity) {
    QStringList started;
    for (const QString& problem : problems) {
        if (!shownProblems_.contains(problem)) {
            started << problem;
        }
    }
    if (!started.isEmpty() && trayIcon_->isVisible()) {
        trayIcon_->showMessage(trayTip, started.join(QLatin1Char('\n')),
                               severity == StoreStatus::Severity::fault ? QSystemTrayIcon::Critical
                                                                        : QSystemTrayIcon::Warning,
                               balloonMs);
    }
}
