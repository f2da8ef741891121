#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

struct LaneOutcome;
struct PrintingContext;

// The kick bytes of a drawer-kick code: decimal byte values of three digits each, one after
// the other ("027112000025250" gives 27 112 0 25 250). Throws std::invalid_argument for a
// group that is not a number or is above 255.
QByteArray drawerKickBytes(const QString& code);

// Drawer-kick requests for this terminal: one kick through the lane of the terminal's own
// printer port however many requests are pending, then the requests kicked are removed. A
// failed kick goes to the error log and the requests stay, so the kick is retried next tick.
// Requests kicked but not removed are remembered, so the drawer does not open again for them.
class CashDrawerJobs {
public:
    explicit CashDrawerJobs(PrintingContext& context) : context_(context) {}

    void run();

private:
    QStringList pendingRequests();
    void handKick(const QStringList& requests);
    void finishKick(const QStringList& requests, const LaneOutcome& outcome);
    void removeRequests(const QStringList& kicked, bool kickedBefore);
    void removeKicked(const QStringList& kicked);
    QString selection() const;
    QString removal() const;

    PrintingContext& context_;
    bool kickHeld_ = false;
};
