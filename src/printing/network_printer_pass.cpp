#include "network_printer_pass.h"

#include "kitchen_job_run.h"
#include "network_printers.h"
#include "pos_database.h"
#include "printer_reach.h"
#include "sheet_parts.h"
#include "sql_text.h"

void NetworkPrinterPass::run() {
    try {
        const ResultSet networkJobs = context_.database.connection().query(
            QStringLiteral("Select * from 주방출력물 Where 매장코드 = '") +
            quotedValue(context_.database.store().storeCode) +
            QStringLiteral("' and Left(프린터포트,3) <> 'COM' and Left(프린터포트,3) <> 'com' "
                           "and Left(프린터포트,4) <> '0000' "));
        if (context_.database.settings().text(QStringLiteral("메인포스로사용")) !=
            QLatin1String("1")) {
            return;
        }
        // Addresses as the database compares them, trailing blanks aside.
        QHash<QString, int> waiting;
        for (const Row& job : networkJobs) {
            ++waiting[job.text(QStringLiteral("IP주소")).trimmed()];
        }
        const qint16 printerCount = context_.networkPrinters.count();
        for (qint16 number = 1; number <= printerCount; ++number) {
            visitPrinter(number, waiting);
        }
    } catch (const std::exception& error) {
        context_.showMessage(sheet_parts::crlf + QString::fromUtf8(error.what()));
    }
}

// A printer without work costs no statement and no connection, but for its state now and then.
void NetworkPrinterPass::visitPrinter(qint16 number, const QHash<QString, int>& waiting) {
    const NetworkPrinterAddress& printer = context_.networkPrinters.at(number);
    const QString name = printer.printerName();
    const QDateTime now = context_.clock();
    const int jobs = waiting.value(printer.host.trimmed());
    if (jobs == 0) {
        jobRun_.noteWaitingJobs(printer.host, name, 0);
        if (reach_.stateCheckDue(name, now)) {
            jobRun_.checkState(number);
        }
    } else if (reach_.mayTry(name, now)) {
        jobRun_.run(printer.host, number);
    } else {
        jobRun_.noteWaitingJobs(printer.host, name, jobs);
    }
}
