#pragma once

#include "row.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlQuery;

// One ODBC connection to the POS database. Every object is a new connection; the program
// replaces the object on every connection attempt, which is also what recovers from a server
// that went away (Qt keeps reporting such a connection as open).
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens with the full ODBC connection text; the login is carried by the text alone.
    bool open(const QString& connectionText, int loginTimeoutSeconds);
    bool isOpen() const;
    void close();

    // Runs a selection and reads all its rows. Throws DatabaseError.
    ResultSet query(const QString& statement);
    // Runs a statement that returns no rows. Throws DatabaseError.
    void execute(const QString& statement);
    // Deletes exactly the given row of the table, by the table's primary key. Throws
    // DatabaseError.
    void deleteRow(const QString& table, const Row& row);

private:
    QSqlDatabase database() const;
    [[noreturn]] void fail(const QSqlQuery& query) const;
    const QStringList& primaryKeyOf(const QString& table);

    QString name_;
    QHash<QString, QStringList> primaryKeys_;
};
