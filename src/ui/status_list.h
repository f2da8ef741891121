#pragma once

#include <QList>
#include <QString>
#include <QTableWidget>

// One line of the operator's status list: the database, or a printer.
struct StatusLine {
    enum class Health { good, warning, fault };

    QString name;
    QString state; // "연결됨", "준비", "용지 없음", or a reason in the driver's words
    QString lastPrinted; // "12:03:15", empty when none
    QString waiting;     // "대기 3", empty when none
    Health health = Health::good;
};

// The compact list under the main window's title: what works and what does not, one line each.
// Plain text only: names and reasons come from the database and the printers.
class StatusList : public QTableWidget {
    Q_OBJECT

public:
    explicit StatusList(QWidget* parent);

    void setLines(const QList<StatusLine>& lines);
    // The text of a cell, as shown.
    QString textAt(int row, int column) const;
};
