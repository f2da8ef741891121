#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <sql.h>
#include <thread>

class QSqlQuery;

// Cancels a statement that runs past its time limit. The driver blocks the calling thread for
// the whole statement, and not every driver keeps a statement's own time limit, so a thread of
// its own watches the clock and asks the driver to cancel, as ODBC allows from another thread.
// The statement runs directly (a prepared one would cost the server a second statement to drop
// its plan, every time), so its handle is only taken from the query once the limit has passed,
// when the calling thread is long inside the driver. The clock runs until the last row is
// fetched: a driver may stream the rows during the fetch, where a locked row blocks as well.
class StatementWatchdog {
public:
    explicit StatementWatchdog(std::chrono::seconds limit);
    ~StatementWatchdog();
    StatementWatchdog(const StatementWatchdog&) = delete;
    StatementWatchdog& operator=(const StatementWatchdog&) = delete;

    // Starts the clock for a query about to run its statement.
    void arm(const QSqlQuery& query);
    // Starts the clock for a catalog call on a statement handle of the program's own.
    void arm(SQLHSTMT statement);
    // Stops the clock before the statement is released; true when it had to be cancelled.
    bool disarm();
    std::chrono::seconds limit() const { return limit_; }

private:
    void watch(const std::stop_token& stopping);

    const std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    void start(std::function<SQLHSTMT()> statement);

    std::function<SQLHSTMT()> statement_; // empty while nothing runs
    std::chrono::steady_clock::time_point deadline_;
    bool cancelled_ = false;
    std::jthread thread_;
};
