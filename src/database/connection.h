#pragma once

#include "row.h"
#include "row_identity.h"
#include "sql_dialect.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>

class StatementWatchdog;

// One ODBC connection to the POS database. Every object is a new connection; the program
// replaces the object on every connection attempt, which is also what recovers from a server
// that went away (Qt keeps reporting such a connection as open).
class Connection {
public:
    // Every statement, catalog call and fetch of this connection is cut off after the limit.
    explicit Connection(std::chrono::seconds statementLimit = std::chrono::seconds(30));
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens with the full ODBC connection text; the login is carried by the text alone. Every
    // statement then runs with a time limit, so that a table locked by another terminal or a
    // hung server shows as a lost connection instead of freezing the program.
    bool open(const QString& connectionText, int loginTimeoutSeconds);
    bool isOpen() const;
    // Why the latest open failed, in the driver's own words, on one line.
    QString openFailure() const;
    void close();

    // Runs a selection and reads all its rows. Throws DatabaseError.
    ResultSet query(const QString& statement);
    // Runs a statement that returns no rows. Throws DatabaseError.
    void execute(const QString& statement);
    // Learns how rows of the table are told apart; done when the connection opens.
    void learnRowIdentity(const QString& table);
    // The condition that matches exactly the given row of the table. Throws DatabaseError.
    QString rowCondition(const QString& table, const Row& row);
    // Deletes one row of the table that meets the condition; returns how many went (0 or 1).
    // Throws DatabaseError.
    int deleteOneRow(const QString& table, const QString& condition);

private:
    QSqlDatabase database() const;
    void askDriverForTimeLimit();
    void run(const QString& statement, const std::function<void(QSqlQuery&)>& readRows);
    [[noreturn]] void fail(const QSqlQuery& query) const;

    QString name_;
    SqlDialect dialect_ = SqlDialect::sqlServer;
    QHash<QString, RowIdentity> rowIdentities_;
    std::unique_ptr<StatementWatchdog> watchdog_;
};
