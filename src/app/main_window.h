#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSystemTrayIcon;

// FrmPOS_주방출력서버: the program's one lasting window. Normally hidden behind its
// notification icon; its background turns red while the database cannot be reached.
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

Q_SIGNALS:
    // The operator pressed "종 료".
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void restoreFromTray();

    QLabel* version_;
    QSystemTrayIcon* trayIcon_;
    QPushButton* hideButton_;
    QPushButton* exitButton_;
};
