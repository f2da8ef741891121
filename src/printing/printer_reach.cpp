#include "printer_reach.h"

#include <algorithm>

void PrinterReach::noteReached(const QString& printer, const QDateTime& at) {
    printers_.insert(printer, Reach{at, {}, {}, 0});
}

void PrinterReach::noteUnreachable(const QString& printer, const QDateTime& at) {
    Reach& reach = printers_[printer];
    if (reach.failures == 0) {
        reach.unreachableSince = at;
    }
    const int retrySeconds = 1 << std::min(reach.failures, 5);
    reach.nextTry = at.addSecs(std::min(retrySeconds, longestRetrySeconds));
    reach.lastContact = at;
    ++reach.failures;
}

bool PrinterReach::mayTry(const QString& printer, const QDateTime& at) const {
    const auto found = printers_.constFind(printer);
    return found == printers_.cend() || found->failures == 0 || at >= found->nextTry;
}

bool PrinterReach::stateCheckDue(const QString& printer, const QDateTime& at) const {
    const auto found = printers_.constFind(printer);
    if (found == printers_.cend()) {
        return true;
    }
    return mayTry(printer, at) && found->lastContact.secsTo(at) >= stateCheckSeconds;
}

std::optional<QDateTime> PrinterReach::unreachableSince(const QString& printer) const {
    const auto found = printers_.constFind(printer);
    if (found == printers_.cend() || found->failures == 0) {
        return std::nullopt;
    }
    return found->unreachableSince;
}
