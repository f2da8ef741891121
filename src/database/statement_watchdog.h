#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sql.h>
#include <thread>

// Cancels a statement that runs past its time limit. The driver blocks the calling thread for
// the whole statement, and not every driver keeps a statement's own time limit, so a thread of
// its own watches the clock and asks the driver to cancel, as ODBC allows from another thread.
class StatementWatchdog {
public:
    explicit StatementWatchdog(std::chrono::milliseconds limit);
    ~StatementWatchdog();
    StatementWatchdog(const StatementWatchdog&) = delete;
    StatementWatchdog& operator=(const StatementWatchdog&) = delete;

    // Starts the clock for a statement about to run.
    void arm(SQLHSTMT statement);
    // Stops the clock before the statement is released; true when it had to be cancelled.
    bool disarm();

private:
    void watch(const std::stop_token& stopping);

    const std::chrono::milliseconds limit_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    SQLHSTMT statement_ = SQL_NULL_HSTMT;
    std::chrono::steady_clock::time_point deadline_;
    bool cancelled_ = false;
    std::jthread thread_;
};
