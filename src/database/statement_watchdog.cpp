#include "statement_watchdog.h"

#include "odbc_handles.h"

StatementWatchdog::StatementWatchdog(std::chrono::milliseconds limit)
    : limit_(limit), thread_([this](const std::stop_token& stopping) { watch(stopping); }) {}

StatementWatchdog::~StatementWatchdog() {
    thread_.request_stop();
}

void StatementWatchdog::arm(const QSqlQuery& query) {
    const std::lock_guard lock(mutex_);
    query_ = &query;
    deadline_ = std::chrono::steady_clock::now() + limit_;
    cancelled_ = false;
    changed_.notify_all();
}

bool StatementWatchdog::disarm() {
    const std::lock_guard lock(mutex_);
    query_ = nullptr;
    return cancelled_;
}

// The cancel is made under the lock, so the query cannot end and release its statement
// meanwhile.
void StatementWatchdog::watch(const std::stop_token& stopping) {
    std::unique_lock lock(mutex_);
    while (!stopping.stop_requested()) {
        if (query_ == nullptr) {
            changed_.wait(lock, stopping, [this] { return query_ != nullptr; });
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, stopping, deadline,
                                [&] { return query_ == nullptr || deadline_ != deadline; })) {
            continue;
        }
        if (query_ != nullptr && !stopping.stop_requested()) {
            SQLCancel(statementHandleOf(*query_));
            cancelled_ = true;
            query_ = nullptr;
        }
    }
}
