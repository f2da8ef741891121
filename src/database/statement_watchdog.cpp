#include "statement_watchdog.h"

StatementWatchdog::StatementWatchdog(std::chrono::milliseconds limit)
    : limit_(limit), thread_([this](const std::stop_token& stopping) { watch(stopping); }) {}

StatementWatchdog::~StatementWatchdog() {
    thread_.request_stop();
}

void StatementWatchdog::arm(SQLHSTMT statement) {
    const std::lock_guard lock(mutex_);
    statement_ = statement;
    deadline_ = std::chrono::steady_clock::now() + limit_;
    cancelled_ = false;
    changed_.notify_all();
}

bool StatementWatchdog::disarm() {
    const std::lock_guard lock(mutex_);
    statement_ = SQL_NULL_HSTMT;
    return cancelled_;
}

// The cancel is made under the lock, so the statement cannot be released meanwhile.
void StatementWatchdog::watch(const std::stop_token& stopping) {
    std::unique_lock lock(mutex_);
    while (!stopping.stop_requested()) {
        if (statement_ == SQL_NULL_HSTMT) {
            changed_.wait(lock, stopping, [this] { return statement_ != SQL_NULL_HSTMT; });
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, stopping, deadline, [&] {
                return statement_ == SQL_NULL_HSTMT || deadline_ != deadline;
            })) {
            continue;
        }
        if (statement_ != SQL_NULL_HSTMT && !stopping.stop_requested()) {
            SQLCancel(statement_);
            cancelled_ = true;
            statement_ = SQL_NULL_HSTMT;
        }
    }
}
