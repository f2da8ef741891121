#include "network_printer_pass.h"

#include "kitchen_job_run.h"
#include "network_printers.h"
#include "pauses.h"
#include "pos_database.h"
#include "sheet_parts.h"
#include "sql_text.h"

#include <QCoreApplication>

namespace {

constexpr int pauseAfterPrinterMs = 1000;

} // namespace

void NetworkPrinterPass::run() {
    try {
        const ResultSet networkJobs = context_.database.connection().query(
            QStringLiteral("Select * from 주방출력물 Where 매장코드 = '") +
            quotedValue(context_.database.store().storeCode) +
            QStringLiteral("' and Left(프린터포트,3) <> 'COM' and Left(프린터포트,3) <> 'com' "
                           "and Left(프린터포트,4) <> '0000' "));
        if (networkJobs.empty()) {
            return;
        }
        const bool mainPos = context_.database.settings().text(QStringLiteral("메인포스로사용")) ==
                             QLatin1String("1");
        const qint16 printerCount = context_.networkPrinters.count();
        if (!mainPos) {
            return;
        }
        for (qint16 number = 1; number <= printerCount; ++number) {
            visitPrinter(number);
        }
    } catch (const std::exception& error) {
        context_.showMessage(sheet_parts::crlf + QString::fromUtf8(error.what()));
    }
}

void NetworkPrinterPass::visitPrinter(qint16 number) {
    NetworkPrinterSocket& socket = context_.networkPrinters.at(number);
    context_.networkPrinters.connectAndWait(socket, socket.remoteHost(), socket.remotePort());
    if (socket.state() == NetworkPrinterSocket::stateConnected) {
        jobRun_.run(socket.remoteIpAddress(), number);
    }
    socket.close();
    QCoreApplication::processEvents();
    context_.pauses.wait(pauseAfterPrinterMs);
    QCoreApplication::processEvents();
}
