#include "store_status_lines.h"

namespace {

StatusLine::Health healthOf(StoreStatus::Severity severity) {
    switch (severity) {
    case StoreStatus::Severity::normal:
        return StatusLine::Health::good;
    case StoreStatus::Severity::warning:
        return StatusLine::Health::warning;
    case StoreStatus::Severity::fault:
        break;
    }
    return StatusLine::Health::fault;
}

StatusLine databaseLine(const StoreStatus& status) {
    if (status.databaseConnected()) {
        return {QStringLiteral("데이타베이스"),
                QStringLiteral("연결됨"),
                {},
                {},
                StatusLine::Health::good};
    }
    return {QStringLiteral("데이타베이스"),
            status.databaseReason().isEmpty() ? QStringLiteral("연결 안 됨")
                                              : status.databaseReason(),
            {},
            {},
            StatusLine::Health::fault};
}

StatusLine printerLine(const PrinterHealth& printer) {
    StatusLine line{printer.name, printerStateLabel(printer), {}, {}, {}};
    if (printer.unreachableSince.isValid()) {
        line.state += printer.unreachableSince.toString(QStringLiteral(" (HH:mm:ss부터)"));
    }
    line.health = healthOf(StoreStatus::severityOf(printer));
    if (printer.lastPrinted.isValid()) {
        line.lastPrinted = QStringLiteral("마지막 출력 ") +
                           printer.lastPrinted.toString(QStringLiteral("HH:mm:ss"));
    }
    if (printer.waitingJobs > 0) {
        line.waiting = QStringLiteral("대기 %1").arg(printer.waitingJobs);
    }
    return line;
}

} // namespace

QList<StatusLine> statusLinesOf(const StoreStatus& status) {
    QList<StatusLine> lines{databaseLine(status)};
    for (const PrinterHealth& printer : status.printers()) {
        lines << printerLine(printer);
    }
    if (!status.logProblem().isEmpty()) {
        lines << StatusLine{
            QStringLiteral("로그"), status.logProblem(), {}, {}, StatusLine::Health::fault};
    }
    return lines;
}
