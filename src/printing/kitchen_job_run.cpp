#include "kitchen_job_run.h"

#include "codepage949.h"
#include "daily_logs.h"
#include "database_error.h"
#include "job_kind.h"
#include "network_layout.h"
#include "network_printer_error.h"
#include "network_printers.h"
#include "pos_database.h"
#include "print_log_entry.h"
#include "printer_lanes.h"
#include "printer_reach.h"
#include "remembered_rows.h"
#include "serial_port_error.h"
#include "serial_settings.h"
#include "sheet_parts.h"
#include "sheet_settings.h"
#include "sql_text.h"
#include "store_connection.h"
#include "store_status.h"
#include "value_conversion.h"

namespace {

const QString procedureName = QStringLiteral("주문서인쇄");
constexpr int pauseAfterJobMs = 100;

bool isSerialPort(const QString& port) {
    return port.left(3).toUpper() == QLatin1String("COM");
}

// A port number the machine does not have and a port held by another program are only logged;
// every other failure of a serial port or its printer is shown as well, once per episode.
bool isShownPortFailure(std::int32_t number) {
    return number != SerialPortError::invalidPortNumber &&
           number != SerialPortError::portAlreadyOpen;
}

// Why a printer's jobs go by what the transport can tell.
QString unconfirmedReason(const PrinterCheck& check) {
    if (!check.countsDelivery) {
        return QStringLiteral("프린터가 답하지 않고 시스템도 전달을 알려 주지 않아 "
                              "전달을 확인할 수 없습니다");
    }
    return check.answersStatus
               ? QStringLiteral("프린터가 상태 요청에는 답하지만 출력 완료(GS r)에는 답하지 않아 "
                                "출력을 확인할 수 없습니다")
               : QStringLiteral("프린터가 상태 요청에 답하지 않아 출력을 확인할 수 없습니다");
}

} // namespace

void KitchenJobRun::run(const QString& address, qint16 printerNumber) {
    try {
        handJobs(address, printerNumber);
    } catch (const NumberedError& error) {
        handleFailure(error.number(), error.description());
    } catch (const std::exception& error) {
        handleFailure(0, QString::fromUtf8(error.what()));
    }
}

// The operator is told, and a fresh connection is tried; the job stays for a later run.
void KitchenJobRun::handleFailure(std::int32_t number, const QString& description) {
    const QString shown = number == DatabaseError::lostConnection
                              ? QStringLiteral("데이타베이스 연결에 실패 했습니다")
                              : description;
    context_.showMessage(sheet_parts::crlf + shown);
    connectToStore(context_.database, context_.status, context_.logs);
}

QString KitchenJobRun::selectionFor(const QString& address) const {
    const StoreIdentity& store = context_.database.store();
    const QString head = QStringLiteral("Select * From 주방출력물  Where  매장코드 = '") +
                         quotedValue(store.storeCode) + QStringLiteral("' and IP주소 = '") +
                         quotedValue(address) + QStringLiteral("' and 프린터포트 <> '00000'");
    if (address == loopbackAddress) {
        return head + QStringLiteral(" and POSID = '") + quotedValue(store.posId) +
               QStringLiteral(
                   "' and 정리완료 = '1'  and 출력물종류 <> '돈통열기' Order by 테이블번호 ");
    }
    return head +
           QStringLiteral(" and 정리완료 = '1' and 출력물종류 <> '돈통열기' Order by 테이블번호 ");
}

// A job whose own data cannot be printed is reported once the rows behind it were handed on,
// so that one bad row does not hold back the kitchen. Every row selected is one job: two rows
// equal in every column are one ticket filed twice, and print twice.
void KitchenJobRun::handJobs(const QString& address, qint16 printerNumber) {
    const ResultSet jobs = context_.database.connection().query(selectionFor(address));
    QStringList rows;
    for (const Row& job : jobs) {
        rows << context_.database.connection().rowCondition(jobTable, job);
    }
    context_.rememberedRows.keepPresent(address, rows);
    Pass pass;
    pass.printedBefore = context_.rememberedRows.rows(address);
    pass.held = held_;
    for (const Row& job : jobs) {
        ++pass.waiting[printerOf(job.text(QStringLiteral("프린터포트")), printerNumber)];
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        handleRow(jobs[i], rows.at(static_cast<qsizetype>(i)), address, printerNumber, pass);
    }
    waitingJobs_.insert(address, pass.waiting);
    publishWaitingJobs();
    if (pass.rowFault) {
        handleFailure(0, *pass.rowFault);
    }
}

void KitchenJobRun::handleRow(const Row& job, const QString& row, const QString& address,
                              qint16 printerNumber, Pass& pass) {
    const QString port = job.text(QStringLiteral("프린터포트"));
    if (pass.printedBefore.removeOne(row)) {
        retryDeletion(address, row);
        --pass.waiting[printerOf(port, printerNumber)];
        return;
    }
    if (pass.held.value(row) > 0) {
        --pass.held[row];
        return;
    }
    const QString kind = job.text(QStringLiteral("출력물종류"));
    const bool logged = job_kind::isOrderKind(kind);
    const std::optional<QString> logEntry = logged ? printLogEntryOf(job, pass) : QString();
    if (!logEntry) {
        return;
    }
    const HandedJob handed{address, row, printerOf(port, printerNumber),
                           logged ? logEntry : std::nullopt};
    handJob(job, port, printerNumber, handed, pass);
}

// The printer a job goes to, by the name the error log and the status list give it; empty for
// a job this run does not print.
QString KitchenJobRun::printerOf(const QString& port, qint16 printerNumber) const {
    if (isSerialPort(port)) {
        return port.toUpper();
    }
    return port != QLatin1String("00000") && printerNumber != 0
               ? networkPrinter(printerNumber).printerName()
               : QString();
}

void KitchenJobRun::noteWaitingJobs(const QString& address, const QString& printer, int jobs) {
    waitingJobs_.insert(address, {{printer, jobs}});
    publishWaitingJobs();
}

// A serial printer takes jobs from two addresses (the loopback and the terminal's own): the
// status list shows what waits for it from both.
void KitchenJobRun::publishWaitingJobs() {
    QHash<QString, int> total;
    for (const QHash<QString, int>& byPrinter : std::as_const(waitingJobs_)) {
        for (auto printer = byPrinter.begin(); printer != byPrinter.end(); ++printer) {
            total[printer.key()] += printer.value();
        }
    }
    for (auto printer = total.begin(); printer != total.end(); ++printer) {
        if (!printer.key().isEmpty()) {
            context_.status.setWaitingJobs(printer.key(), std::max(printer.value(), 0));
        }
    }
}

// Made before the job prints: a job table without the columns of the print log would otherwise
// print the sheet on every tick and never reach its deletion. Such a job is one whose own data
// cannot be printed.
std::optional<QString> KitchenJobRun::printLogEntryOf(const Row& job, Pass& pass) {
    try {
        return printLogEntry(job);
    } catch (const DatabaseError& error) {
        pass.rowFault = pass.rowFault.value_or(error.description());
        return std::nullopt;
    }
}

// A job for no printer of this run (a network job met by the print cycle) is finished at once:
// logged and deleted, as if printed.
void KitchenJobRun::handJob(const Row& job, const QString& port, qint16 printerNumber,
                            const HandedJob& handed, Pass& pass) {
    JobExtras extras;
    extras.bottomMargin = bottomMarginFor(job.text(QStringLiteral("출력물종류")));
    try {
        extras.guestCount = guestCountFor(job);
        extras.printedAt = context_.clock();
        const SheetSettings sheet = sheetSettings();
        if (isSerialPort(port)) {
            const qint16 portNumber = toInt16(port.mid(3), QStringLiteral("프린터포트"));
            const QString settings = job.text(QStringLiteral("프린터파라미터"));
            parseSerialSettings(settings);
            context_.lanes.handToSerialPort(
                portNumber, laneJobFor(serialLayout(job, sheet, extras), settings, handed));
        } else if (port != QLatin1String("00000") && printerNumber != 0) {
            context_.lanes.handToNetworkPrinter(
                networkPrinter(printerNumber),
                laneJobFor(networkLayout(job, sheet, extras), {}, handed));
        } else {
            finishPrinted(handed, {});
            return;
        }
        ++held_[handed.row];
    } catch (const ConversionError& error) {
        pass.rowFault = pass.rowFault.value_or(error.description());
    } catch (const SerialPortError& error) {
        pass.rowFault = pass.rowFault.value_or(error.description());
    }
}

LaneJob KitchenJobRun::laneJobFor(LayoutSteps steps, const QString& serialSettings,
                                  HandedJob handed) {
    LaneJob laneJob;
    laneJob.steps = std::move(steps);
    laneJob.serialSettings = serialSettings;
    laneJob.pauseAfterMs = pauseAfterJobMs;
    laneJob.done = [this, handed = std::move(handed)](const LaneOutcome& outcome) {
        finishJob(handed, outcome);
    };
    return laneJob;
}

void KitchenJobRun::finishJob(const HandedJob& handed, const LaneOutcome& outcome) {
    if (--held_[handed.row] <= 0) {
        held_.remove(handed.row);
    }
    switch (outcome.result) {
    case LaneOutcome::Result::done:
        finishPrinted(handed, outcome);
        break;
    case LaneOutcome::Result::failed:
        reportFailure(handed.printer, outcome);
        break;
    case LaneOutcome::Result::returned:
        break;
    }
}

// A lost connection while the row is deleted leaves the row remembered; the next tick's
// selection reports the connection, once.
void KitchenJobRun::finishPrinted(const HandedJob& handed, const LaneOutcome& outcome) {
    if (!handed.printer.isEmpty()) {
        if (outcome.check) {
            reportUnconfirmed(handed.printer, *outcome.check);
        }
        printerFaults_.remove(handed.printer);
        context_.status.notePrinted(handed.printer, context_.clock(), outcome.printed.paperNearEnd);
        reach_.noteReached(handed.printer, context_.clock());
    }
    if (handed.logEntry) {
        context_.logs.writePrintLog(*handed.logEntry);
    }
    --waitingJobs_[handed.address][handed.printer];
    publishWaitingJobs();
    try {
        deleteDelivered(handed.address, handed.row);
    } catch (const DatabaseError& error) {
        context_.status.setDatabaseLost(error.description());
    }
}

// The printer's later jobs wait for the next tick (an unreachable network printer's for its
// own schedule).
void KitchenJobRun::reportFailure(const QString& printer, const LaneOutcome& outcome) {
    if (outcome.unreachable) {
        reportUnreachable(printer, outcome.description);
        return;
    }
    const bool serial = outcome.errorNumber != 0;
    if (logPrinterFault(printer, outcome.description) && serial &&
        isShownPortFailure(outcome.errorNumber)) {
        context_.showMessage(sheet_parts::crlf + outcome.description);
    }
}

// The error log hears once per episode, with the time it began; the status list shows it too.
void KitchenJobRun::reportUnreachable(const QString& printer, const QString& description) {
    reach_.noteUnreachable(printer, context_.clock());
    const QDateTime since = *reach_.unreachableSince(printer);
    const QString detail = description + since.toString(QStringLiteral(" (HH:mm:ss부터)"));
    logPrinterFault(printer, detail);
    context_.status.noteUnreachable(printer, since, detail);
}

void KitchenJobRun::checkState(qint16 printerNumber) {
    const NetworkPrinterAddress& printer = networkPrinter(printerNumber);
    if (context_.lanes.jobsHeldFor(printer.printerName()) > 0) {
        return;
    }
    LaneJob check;
    check.kind = LaneJob::Kind::stateCheck;
    check.done = [this, name = printer.printerName()](const LaneOutcome& outcome) {
        finishStateCheck(name, outcome);
    };
    context_.lanes.handToNetworkPrinter(printer, std::move(check));
}

// A printer found ready loses its trouble, except paper running low, which only a printed
// ticket tells.
void KitchenJobRun::finishStateCheck(const QString& printer, const LaneOutcome& outcome) {
    if (outcome.result == LaneOutcome::Result::failed) {
        reportFailure(printer, outcome);
        return;
    }
    reach_.noteReached(printer, context_.clock());
    printerFaults_.remove(printer);
    context_.status.noteReady(printer);
}

// A printer that stays stopped fails every job it is given; the error log hears of it once,
// until a job on it is printed again or its trouble changes.
bool KitchenJobRun::logPrinterFault(const QString& printer, const QString& description) {
    context_.status.noteTrouble(printer, troubleNamedIn(description), description);
    if (printerFaults_.value(printer) == description) {
        return false;
    }
    printerFaults_.insert(printer, description);
    context_.logs.writeErrorLog(procedureName, description);
    return true;
}

// Once per run and printer: such a printer's jobs go by what the transport can tell.
void KitchenJobRun::reportUnconfirmed(const QString& printer, const PrinterCheck& check) {
    if (check.answers || unconfirmedPrinters_.contains(printer)) {
        return;
    }
    unconfirmedPrinters_.insert(printer);
    context_.logs.writeErrorLog(procedureName,
                                printer + QStringLiteral(": ") + unconfirmedReason(check));
}

const NetworkPrinterAddress& KitchenJobRun::networkPrinter(qint16 printerNumber) const {
    return context_.networkPrinters.at(printerNumber);
}

// A job that reached the printer is never printed again: when its row cannot be deleted, it is
// remembered and the deletion alone is tried again on later runs; the error log hears of it
// once.
void KitchenJobRun::deleteDelivered(const QString& address, const QString& row) {
    try {
        if (context_.database.connection().deleteOneRow(jobTable, row) != 0) {
            return;
        }
        context_.rememberedRows.add(address, row);
        context_.logs.writeErrorLog(
            procedureName, QStringLiteral("출력한 작업의 행이 지워지지 않았습니다: ") + row);
    } catch (const DatabaseError& error) {
        context_.rememberedRows.add(address, row);
        context_.logs.writeErrorLog(procedureName,
                                    QStringLiteral("출력한 작업의 행을 지우지 못했습니다: ") +
                                        error.description());
        if (error.number() == DatabaseError::lostConnection) {
            throw;
        }
    }
}

void KitchenJobRun::retryDeletion(const QString& address, const QString& row) {
    try {
        if (context_.database.connection().deleteOneRow(jobTable, row) != 0) {
            context_.rememberedRows.removeOne(address, row);
        }
    } catch (const DatabaseError& error) {
        if (error.number() == DatabaseError::lostConnection) {
            throw;
        }
    }
}

SheetSettings KitchenJobRun::sheetSettings() const {
    return sheetSettingsOf(context_.database, context_.commands);
}

QString KitchenJobRun::bottomMarginFor(const QString& kind) const {
    QString column;
    if (job_kind::isOrderKind(kind)) {
        column = QStringLiteral("주방프린터하단마진");
    } else if (kind != job_kind::cashDrawer && kind != job_kind::ticket) {
        column = QStringLiteral("하단마진");
    } else {
        return {};
    }
    const qint16 lines = toInt16(context_.database.settings().value(column), column);
    return sheet_parts::crlf.repeated(std::max<qint16>(lines, 0));
}

qint16 KitchenJobRun::guestCountFor(const Row& job) {
    if (context_.database.settings().text(QStringLiteral("주문서에객수표시")) !=
        QLatin1String("1")) {
        return 0;
    }
    const qint32 table =
        toInt32(job.value(QStringLiteral("테이블번호")), QStringLiteral("테이블번호"));
    const ResultSet totals = context_.database.connection().query(
        QStringLiteral("Select 객수 From 주문합계 Where 매장코드 = '") +
        quotedValue(context_.database.store().storeCode) + QStringLiteral("' and 테이블번호 = ") +
        QString::number(table));
    if (totals.empty()) {
        return 0;
    }
    return toInt16(totals.front().value(QStringLiteral("객수")), QStringLiteral("객수"));
}
