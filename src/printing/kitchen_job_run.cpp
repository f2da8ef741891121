#include "kitchen_job_run.h"

#include "codepage949.h"
#include "daily_logs.h"
#include "database_error.h"
#include "job_kind.h"
#include "network_layout.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "print_log_entry.h"
#include "serial_port_error.h"
#include "serial_printer_port.h"
#include "sheet_parts.h"
#include "sql_text.h"
#include "value_conversion.h"

#include <QCoreApplication>

namespace {

const QString jobTable = QStringLiteral("주방출력물");
const QString procedureName = QStringLiteral("주문서인쇄");
constexpr int pauseAfterJobMs = 100;
constexpr int pauseAroundPortCloseMs = 100;

bool isSerialPort(const QString& port) {
    return port.left(3).toUpper() == QLatin1String("COM");
}

} // namespace

void KitchenJobRun::run(const QString& address, qint16 printerNumber) {
    try {
        printJobs(address, printerNumber);
    } catch (const SerialPortError& error) {
        if (error.number() == SerialPortError::invalidPortNumber && printerNumber != 0) {
            context_.networkPrinters.at(printerNumber).close();
        }
        if (error.number() == SerialPortError::invalidPortNumber ||
            error.number() == SerialPortError::portAlreadyOpen) {
            context_.logs.writeErrorLog(procedureName, error.description());
        } else {
            handleFailure(error.number(), error.description());
        }
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
    context_.database.connectDatabase();
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

void KitchenJobRun::printJobs(const QString& address, qint16 printerNumber) {
    const ResultSet jobs = context_.database.connection().query(selectionFor(address));
    for (const Row& job : jobs) {
        const JobExtras extras = extrasFor(job);
        const QString port = job.text(QStringLiteral("프린터포트"));
        if (isSerialPort(port)) {
            printOnSerialPort(job, serialLayout(job, sheetSettings(), extras));
        } else if (port != QLatin1String("00000") && printerNumber != 0) {
            sendToNetworkPrinter(printerNumber, networkLayout(job, sheetSettings(), extras));
        }
        if (job_kind::isOrderKind(job.text(QStringLiteral("출력물종류")))) {
            context_.logs.writePrintLog(printLogEntry(job));
        }
        context_.database.connection().deleteRow(jobTable, job);
        context_.pauses.wait(pauseAfterJobMs);
    }
}

SheetSettings KitchenJobRun::sheetSettings() const {
    return sheetSettingsOf(context_.database, context_.commands);
}

JobExtras KitchenJobRun::extrasFor(const Row& job) {
    const Row& settings = context_.database.settings();
    const QString kind = job.text(QStringLiteral("출력물종류"));
    JobExtras extras;
    QString marginColumn;
    if (job_kind::isOrderKind(kind)) {
        marginColumn = QStringLiteral("주방프린터하단마진");
    } else if (kind != job_kind::cashDrawer && kind != job_kind::ticket) {
        marginColumn = QStringLiteral("하단마진");
    }
    if (!marginColumn.isEmpty()) {
        const qint16 lines = toInt16(settings.value(marginColumn), marginColumn);
        extras.bottomMargin = sheet_parts::crlf.repeated(std::max<qint16>(lines, 0));
    }
    if (settings.text(QStringLiteral("주문서에객수표시")) == QLatin1String("1")) {
        const qint32 table =
            toInt32(job.value(QStringLiteral("테이블번호")), QStringLiteral("테이블번호"));
        const ResultSet totals = context_.database.connection().query(
            QStringLiteral("Select 객수 From 주문합계 Where 매장코드 = '") +
            quotedValue(context_.database.store().storeCode) +
            QStringLiteral("' and 테이블번호 = ") + QString::number(table));
        if (!totals.empty()) {
            extras.guestCount =
                toInt16(totals.front().value(QStringLiteral("객수")), QStringLiteral("객수"));
        }
    }
    extras.printedAt = context_.clock();
    return extras;
}

void KitchenJobRun::printOnSerialPort(const Row& job, const LayoutSteps& steps) {
    SerialPrinterPort& port = context_.serialPort;
    if (port.isOpen()) {
        port.close();
    }
    const QString portText = job.text(QStringLiteral("프린터포트"));
    port.setPortNumber(toInt16(portText.mid(3), QStringLiteral("프린터포트")));
    port.setSettings(job.text(QStringLiteral("프린터파라미터")));
    port.open();
    for (const LayoutStep& step : steps) {
        if (step.kind == LayoutStep::Kind::Write) {
            port.write(toCodePage949(step.text));
        } else if (step.kind == LayoutStep::Kind::Wait) {
            context_.pauses.wait(step.waitMs);
        }
    }
    context_.pauses.wait(pauseAroundPortCloseMs);
    port.close();
    QCoreApplication::processEvents();
    context_.pauses.wait(pauseAroundPortCloseMs);
}

void KitchenJobRun::sendToNetworkPrinter(qint16 printerNumber, const LayoutSteps& steps) {
    NetworkPrinterSocket& socket = context_.networkPrinters.at(printerNumber);
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
}
