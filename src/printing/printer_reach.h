#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <optional>

// When each network printer is tried next. One that cannot be reached is tried again on a
// schedule of its own, a second after the first failure and doubling up to half a minute,
// rather than on every tick; one that has had nothing to print for half a minute is asked its
// state, so that paper out shows in the status list before the next ticket comes.
class PrinterReach {
public:
    static constexpr int stateCheckSeconds = 30;
    static constexpr int longestRetrySeconds = 30;

    void noteReached(const QString& printer, const QDateTime& at);
    void noteUnreachable(const QString& printer, const QDateTime& at);

    bool mayTry(const QString& printer, const QDateTime& at) const;
    bool stateCheckDue(const QString& printer, const QDateTime& at) const;
    // Since the first failed attempt of the present episode.
    std::optional<QDateTime> unreachableSince(const QString& printer) const;

private:
    struct Reach {
        QDateTime lastContact;
        QDateTime unreachableSince;
        QDateTime nextTry;
        int failures = 0;
    };

    QHash<QString, Reach> printers_;
};
