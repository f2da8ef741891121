#include "kitchen_job_run.h"

#include "codepage949.h"
#include "daily_logs.h"
#include "database_error.h"
#include "job_kind.h"
#include "network_layout.h"
#include "network_printer_error.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "print_log_entry.h"
#include "remembered_rows.h"
#include "serial_port_error.h"
#include "serial_printer_port.h"
#include "sheet_parts.h"
#include "sheet_settings.h"
#include "sql_text.h"
#include "store_connection.h"
#include "store_status.h"
#include "value_conversion.h"

#include <QCoreApplication>

namespace {

const QString procedureName = QStringLiteral("주문서인쇄");
constexpr int pauseAfterJobMs = 100;
constexpr int pauseAroundPortCloseMs = 100;

bool isSerialPort(const QString& port) {
    return port.left(3).toUpper() == QLatin1String("COM");
}

// Failures of the port or the printer behind it, as opposed to a job's own settings text.
bool isPortFailure(const SerialPortError& error) {
    return error.number() != SerialPortError::invalidSettings;
}

// A port number the machine does not have and a port held by another program are only logged;
// every other failure of the port or its printer is shown as well, once per episode.
bool isShownPortFailure(const SerialPortError& error) {
    return error.number() != SerialPortError::invalidPortNumber &&
           error.number() != SerialPortError::portAlreadyOpen;
}

} // namespace

void KitchenJobRun::run(const QString& address, qint16 printerNumber) {
    try {
        printJobs(address, printerNumber);
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

// A job whose own data cannot be printed is reported once the rows behind it had their turn,
// so that one bad row does not hold back the kitchen. Every row selected is one job: two rows
// equal in every column are one ticket filed twice, and print twice.
void KitchenJobRun::printJobs(const QString& address, qint16 printerNumber) {
    const ResultSet jobs = context_.database.connection().query(selectionFor(address));
    QStringList rows;
    for (const Row& job : jobs) {
        rows << context_.database.connection().rowCondition(jobTable, job);
    }
    context_.rememberedRows.keepPresent(address, rows);
    Pass pass;
    pass.printedBefore = context_.rememberedRows.rows(address);
    for (const Row& job : jobs) {
        ++pass.waiting[printerOf(job.text(QStringLiteral("프린터포트")), printerNumber)];
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        handleRow(jobs[i], rows.at(static_cast<qsizetype>(i)), address, printerNumber, pass);
    }
    noteWaitingJobs(address, pass.waiting);
    if (pass.portNotice) {
        context_.showMessage(sheet_parts::crlf + *pass.portNotice);
    }
    if (pass.rowFault) {
        handleFailure(0, *pass.rowFault);
    }
}

void KitchenJobRun::handleRow(const Row& job, const QString& row, const QString& address,
                              qint16 printerNumber, Pass& pass) {
    if (pass.visitEnded) {
        return;
    }
    const QString port = job.text(QStringLiteral("프린터포트"));
    if (pass.printedBefore.removeOne(row)) {
        retryDeletion(address, row);
        --pass.waiting[printerOf(port, printerNumber)];
        return;
    }
    if (pass.failedPorts.contains(port.toUpper())) {
        return;
    }
    const QString kind = job.text(QStringLiteral("출력물종류"));
    const bool logged = job_kind::isOrderKind(kind);
    const std::optional<QString> logEntry = logged ? printLogEntryOf(job, pass) : QString();
    if (!logEntry) {
        return;
    }
    JobExtras extras;
    extras.bottomMargin = bottomMarginFor(kind);
    if (!printJob(job, port, printerNumber, sheetSettings(), extras, pass)) {
        return;
    }
    if (logged) {
        context_.logs.writePrintLog(*logEntry);
    }
    deleteDelivered(address, row);
    --pass.waiting[printerOf(port, printerNumber)];
    context_.pauses.wait(pauseAfterJobMs);
}

// The printer a job goes to, by the name the error log and the status list give it; empty for
// a job this run does not print.
QString KitchenJobRun::printerOf(const QString& port, qint16 printerNumber) {
    if (isSerialPort(port)) {
        return port.toUpper();
    }
    return port != QLatin1String("00000") && printerNumber != 0 ? networkPrinterName(printerNumber)
                                                                : QString();
}

// A serial printer takes jobs from two addresses (the loopback and the terminal's own): the
// status list shows what waits for it from both.
void KitchenJobRun::noteWaitingJobs(const QString& address, const QHash<QString, int>& waiting) {
    waitingJobs_.insert(address, waiting);
    QHash<QString, int> total;
    for (const QHash<QString, int>& byPrinter : std::as_const(waitingJobs_)) {
        for (auto printer = byPrinter.begin(); printer != byPrinter.end(); ++printer) {
            total[printer.key()] += printer.value();
        }
    }
    for (auto printer = total.begin(); printer != total.end(); ++printer) {
        if (!printer.key().isEmpty()) {
            context_.status.setWaitingJobs(printer.key(), printer.value());
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

// False when the job could not be printed: a failed port is logged and its later jobs wait
// for the next run; a job's own bad data is kept for the report at the end of the run.
bool KitchenJobRun::printJob(const Row& job, const QString& port, qint16 printerNumber,
                             const SheetSettings& sheet, JobExtras extras, Pass& pass) {
    try {
        extras.guestCount = guestCountFor(job);
        extras.printedAt = context_.clock();
        printOrSend(job, port, printerNumber, sheet, extras);
        return true;
    } catch (const SerialPortError& error) {
        if (!isPortFailure(error)) {
            pass.rowFault = pass.rowFault.value_or(error.description());
            return false;
        }
        // On a network printer's visit its connection goes too, and with it the visit.
        if (error.number() == SerialPortError::invalidPortNumber && printerNumber != 0) {
            context_.networkPrinters.at(printerNumber).close();
            pass.visitEnded = true;
        }
        if (logPrinterFault(port.toUpper(), error.description()) && isShownPortFailure(error)) {
            pass.portNotice = pass.portNotice.value_or(error.description());
        }
        pass.failedPorts.insert(port.toUpper());
    } catch (const NetworkPrinterError& error) {
        // The connection was reset: the printer's later jobs wait for the next visit.
        logPrinterFault(networkPrinterName(printerNumber), error.description());
        pass.visitEnded = true;
    } catch (const ConversionError& error) {
        pass.rowFault = pass.rowFault.value_or(error.description());
    }
    return false;
}

void KitchenJobRun::printOrSend(const Row& job, const QString& port, qint16 printerNumber,
                                const SheetSettings& sheet, const JobExtras& extras) {
    if (isSerialPort(port)) {
        notePrinted(port.toUpper(), printOnSerialPort(job, port, serialLayout(job, sheet, extras)));
    } else if (port != QLatin1String("00000") && printerNumber != 0) {
        notePrinted(networkPrinterName(printerNumber),
                    sendToNetworkPrinter(printerNumber, networkLayout(job, sheet, extras)));
    }
}

// A job printed ends its printer's trouble.
void KitchenJobRun::notePrinted(const QString& printer, const PrintedJob& printed) {
    printerFaults_.remove(printer);
    context_.status.notePrinted(printer, context_.clock(), printed.paperNearEnd);
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
    context_.logs.writeErrorLog(
        procedureName,
        printer +
            (check.countsDelivery
                 ? QStringLiteral(": 프린터가 상태 요청에 답하지 않아 출력을 확인할 수 없습니다")
                 : QStringLiteral(": 프린터가 답하지 않고 시스템도 전달을 알려 주지 않아 "
                                  "전달을 확인할 수 없습니다")));
}

QString KitchenJobRun::networkPrinterName(qint16 printerNumber) {
    return context_.networkPrinters.at(printerNumber).printerName();
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

PrintedJob KitchenJobRun::printOnSerialPort(const Row& job, const QString& portText,
                                            const LayoutSteps& steps) {
    SerialPrinterPort& port = context_.serialPort;
    if (port.isOpen()) {
        port.close();
    }
    port.setPortNumber(toInt16(portText.mid(3), QStringLiteral("프린터포트")));
    port.setSettings(job.text(QStringLiteral("프린터파라미터")));
    port.open();
    const PrinterCheck check = port.beginJob();
    reportUnconfirmed(portText.toUpper(), check);
    for (const LayoutStep& step : steps) {
        if (step.kind == LayoutStep::Kind::Write) {
            port.write(toCodePage949(step.text));
        } else if (step.kind == LayoutStep::Kind::Wait) {
            context_.pauses.wait(step.waitMs);
        }
    }
    const PrintedJob printed = port.finishJob(check);
    context_.pauses.wait(pauseAroundPortCloseMs);
    port.close();
    QCoreApplication::processEvents();
    context_.pauses.wait(pauseAroundPortCloseMs);
    return printed;
}

PrintedJob KitchenJobRun::sendToNetworkPrinter(qint16 printerNumber, const LayoutSteps& steps) {
    NetworkPrinterSocket& socket = context_.networkPrinters.at(printerNumber);
    const PrinterCheck check = socket.beginJob();
    reportUnconfirmed(networkPrinterName(printerNumber), check);
    for (const LayoutStep& step : steps) {
        switch (step.kind) {
        case LayoutStep::Kind::Write:
            socket.send(toCodePage949(step.text));
            break;
        case LayoutStep::Kind::Wait:
            context_.pauses.wait(step.waitMs);
            break;
        case LayoutStep::Kind::ProcessEvents:
            QCoreApplication::processEvents();
            break;
        }
    }
    return socket.finishJob(check);
}
