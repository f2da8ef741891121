#include "statement_watchdog.h"

#include "odbc_handles.h"

StatementWatchdog::StatementWatchdog(std::chrono::seconds limit)
    : limit_(limit), thread_([this](const std::stop_token& stopping) { watch(stopping); }) {}

StatementWatchdog::~StatementWatchdog() {
    thread_.request_stop();
}

void StatementWatchdog::arm(const QSqlQuery& query) {
    start([&query] { return statementHandleOf(query); });
}

void StatementWatchdog::arm(SQLHSTMT statement) {
    start([statement] { return statement; });
}

void StatementWatchdog::start(std::function<SQLHSTMT()> statement) {
    const std::lock_guard lock(mutex_);
    statement_ = std::move(statement);
    deadline_ = std::chrono::steady_clock::now() + limit_;
    cancelled_ = false;
    changed_.notify_all();
}

bool StatementWatchdog::disarm() {
    const std::lock_guard lock(mutex_);
    statement_ = nullptr;
    return cancelled_;
}

// The cancel is made under the lock, so the statement cannot end and release its statement
// meanwhile.
void StatementWatchdog::watch(const std::stop_token& stopping) {
    std::unique_lock lock(mutex_);
    while (!stopping.stop_requested()) {
        if (!statement_) {
            changed_.wait(lock, stopping, [this] { return bool(statement_); });
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, stopping, deadline,
                                [&] { return !statement_ || deadline_ != deadline; })) {
            continue;
        }
        if (statement_ && !stopping.stop_requested()) {
            SQLCancel(statement_());
            cancelled_ = true;
            statement_ = nullptr;
        }
    }
}
