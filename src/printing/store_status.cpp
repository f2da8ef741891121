#include "store_status.h"

#include <algorithm>

void StoreStatus::setDatabaseConnected() {
    databaseConnected_ = true;
    databaseReason_.clear();
}

void StoreStatus::setDatabaseLost(const QString& reason) {
    databaseConnected_ = false;
    databaseReason_ = reason;
}

PrinterHealth& StoreStatus::printer(const QString& name) {
    const auto found = std::find_if(printers_.begin(), printers_.end(),
                                    [&](const PrinterHealth& known) { return known.name == name; });
    if (found != printers_.end()) {
        return *found;
    }
    printers_.append(PrinterHealth{name, std::nullopt, {}, {}, 0, 0, {}});
    return printers_.last();
}

void StoreStatus::addPrinter(const QString& name) {
    printer(name);
}

void StoreStatus::notePrinted(const QString& name, const QDateTime& at, bool paperNearEnd) {
    PrinterHealth& health = printer(name);
    health.printedToday = health.lastPrinted.date() == at.date() ? health.printedToday + 1 : 1;
    health.lastPrinted = at;
    health.trouble = paperNearEnd ? std::optional(PrinterTrouble::paperNearEnd) : std::nullopt;
    health.detail = paperNearEnd ? troubleDescription(PrinterTrouble::paperNearEnd) : QString();
    health.unreachableSince = {};
}

void StoreStatus::noteTrouble(const QString& name, PrinterTrouble trouble, const QString& detail) {
    PrinterHealth& health = printer(name);
    health.trouble = trouble;
    health.detail = detail;
    health.unreachableSince = {};
}

void StoreStatus::noteUnreachable(const QString& name, const QDateTime& since,
                                  const QString& detail) {
    noteTrouble(name, PrinterTrouble::unavailable, detail);
    printer(name).unreachableSince = since;
}

void StoreStatus::noteReady(const QString& name) {
    PrinterHealth& health = printer(name);
    if (health.trouble != PrinterTrouble::paperNearEnd) {
        health.trouble.reset();
        health.detail.clear();
    }
    health.unreachableSince = {};
}

void StoreStatus::setWaitingJobs(const QString& name, int jobs) {
    printer(name).waitingJobs = jobs;
}

void StoreStatus::setLogProblem(const QString& problem) {
    logProblem_ = problem;
}

StoreStatus::Severity StoreStatus::severityOf(const PrinterHealth& printer) {
    if (!printer.trouble) {
        return Severity::normal;
    }
    return *printer.trouble == PrinterTrouble::paperNearEnd ? Severity::warning : Severity::fault;
}

StoreStatus::Severity StoreStatus::severity() const {
    Severity worst =
        databaseConnected_ && logProblem_.isEmpty() ? Severity::normal : Severity::fault;
    for (const PrinterHealth& printer : printers_) {
        worst = std::max(worst, severityOf(printer));
    }
    return worst;
}

QStringList StoreStatus::problems() const {
    QStringList lines;
    if (!databaseConnected_) {
        lines << QStringLiteral("데이타베이스: 연결 안 됨");
    }
    for (const PrinterHealth& health : printers_) {
        if (severityOf(health) == Severity::fault) {
            lines << health.name + QStringLiteral(": ") + printerStateLabel(health);
        }
    }
    if (!logProblem_.isEmpty()) {
        lines << QStringLiteral("로그: 쓸 수 없음");
    }
    for (const PrinterHealth& health : printers_) {
        if (severityOf(health) == Severity::warning) {
            lines << health.name + QStringLiteral(": ") + printerStateLabel(health);
        }
    }
    return lines;
}

QString printerStateLabel(const PrinterHealth& printer) {
    if (!printer.trouble) {
        return QStringLiteral("준비");
    }
    switch (*printer.trouble) {
    case PrinterTrouble::paperNearEnd:
        return QStringLiteral("용지 부족");
    case PrinterTrouble::paperOut:
        return QStringLiteral("용지 없음");
    case PrinterTrouble::coverOpen:
        return QStringLiteral("덮개 열림");
    case PrinterTrouble::offline:
        return QStringLiteral("오프라인");
    case PrinterTrouble::notAnswering:
        return QStringLiteral("응답 없음");
    case PrinterTrouble::notTaking:
        return QStringLiteral("멈춤");
    case PrinterTrouble::unavailable:
        break;
    }
    return QStringLiteral("연결 안 됨");
}
