#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class DailyLogs;

// Rows of the job table that were handled (a job printed, a drawer kicked) but would not go:
// only their deletion is tried again, also after a restart of the program. Each group (a
// printer address, the drawer requests) holds the rows' Where conditions once per row, so that
// of two equal rows one can be remembered while the other still waits to be printed.
//
// Kept in the program folder, in `fileName`, while anything is remembered. A file that cannot
// be read when the program starts, or written later, goes to the error log (a failing write
// once, until a write succeeds again); the rows in memory are honoured all the same. The rows
// belong to one database (server and store code): a terminal pointed at another database
// forgets them, since a key there may name a ticket not yet printed.
class RememberedRows {
public:
    static const QString fileName;

    RememberedRows(const QString& programFolder, const DailyLogs& logs, const QString& database);

    // The conditions remembered in the group, each as often as rows meeting it are remembered.
    QStringList rows(const QString& group) const;
    void add(const QString& group, const QString& condition);
    void removeOne(const QString& group, const QString& condition);
    // The group's rows as they are in the table now (conditions of the rows just selected):
    // whatever is remembered beyond them is gone from the table and forgotten.
    void keepPresent(const QString& group, const QStringList& present);
    void replace(const QString& group, const QStringList& conditions);

private:
    void load();
    void save();
    void reportWriteFailure(const QString& reason);
    QString keyOf(const QString& group) const;

    QString path_;
    const DailyLogs& logs_;
    QString database_;
    QMap<QString, QStringList> groups_;
    bool writeFailing_ = false;
};
