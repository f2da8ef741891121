#pragma once

#include "store_status.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QSystemTrayIcon;
class StatusList;

// FrmPOS_주방출력서버: the program's one lasting window. Normally hidden behind its
// notification icon; its background turns red while the database cannot be reached, and its
// status list says what works and what does not.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow();

    void setVersionText(const QString& text);
    QString versionText() const;
    // Red while the database is unreachable, the system's button-face colour otherwise.
    void setDatabaseReachable(bool reachable);
    QColor backgroundColor() const;

    // Puts the icon into the notification area and hides the window. Where the desktop has no
    // notification area the window is minimised instead, so that the operator can reach it.
    void hideToTray();
    bool isTrayIconShown() const;

    // Shows the store's status in the list and on the icon (normal, warning or fault, the tip
    // naming what is wrong); a problem that was not there before also gets a balloon, once.
    void showStatus(const StoreStatus& status);
    const StatusList& statusList() const { return *statusList_; }
    QString trayTipText() const;

Q_SIGNALS:
    // The operator pressed "종 료".
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restoreFromTray();
    void announceNewProblems(const QStringList& problems, StoreStatus::Severity severity);

    QLabel* version_;
    QSystemTrayIcon* trayIcon_;
    QPushButton* hideButton_;
    QPushButton* exitButton_;
    StatusList* statusList_;
    QStringList shownProblems_;
};
