#include "status_html.h"
#include "status_metrics.h"

#include <gtest/gtest.h>

namespace {

const QDateTime noon(QDate(2026, 3, 15), QTime(12, 0), Qt::UTC);
const QString quotedName = QStringLiteral("주방 \"A\" \\1");

StoreStatus storeWithTwoPrinters() {
    StoreStatus status;
    status.setDatabaseConnected();
    status.addPrinter(QStringLiteral("COM1"));
    status.notePrinted(quotedName, noon, false);
    status.noteTrouble(quotedName, PrinterTrouble::paperOut, QStringLiteral("용지가 없습니다"));
    status.setWaitingJobs(quotedName, 2);
    return status;
}

} // namespace

TEST(StatusMetrics, EveryPrinterHasItsStateWaitingJobsLastPrintAndCountWithEscapedName) {
    const QByteArray expected =
        R"(# HELP kitchen_print_server_database_connected Whether the connection to the POS database stands.
# TYPE kitchen_print_server_database_connected gauge
kitchen_print_server_database_connected 1
# HELP kitchen_print_server_printer_state 1 for the state the printer is in, 0 for the others.
# TYPE kitchen_print_server_printer_state gauge
kitchen_print_server_printer_state{printer="COM1",state="ready"} 1
kitchen_print_server_printer_state{printer="COM1",state="paper_near_end"} 0
kitchen_print_server_printer_state{printer="COM1",state="paper_out"} 0
kitchen_print_server_printer_state{printer="COM1",state="cover_open"} 0
kitchen_print_server_printer_state{printer="COM1",state="offline"} 0
kitchen_print_server_printer_state{printer="COM1",state="not_answering"} 0
kitchen_print_server_printer_state{printer="COM1",state="stalled"} 0
kitchen_print_server_printer_state{printer="COM1",state="unavailable"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="ready"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="paper_near_end"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="paper_out"} 1
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="cover_open"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="offline"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="not_answering"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="stalled"} 0
kitchen_print_server_printer_state{printer="주방 \"A\" \\1",state="unavailable"} 0
# HELP kitchen_print_server_jobs_waiting Jobs in the table waiting for the printer.
# TYPE kitchen_print_server_jobs_waiting gauge
kitchen_print_server_jobs_waiting{printer="COM1"} 0
kitchen_print_server_jobs_waiting{printer="주방 \"A\" \\1"} 2
# HELP kitchen_print_server_last_printed_timestamp_seconds When the printer last printed a job in this run, as Unix time.
# TYPE kitchen_print_server_last_printed_timestamp_seconds gauge
kitchen_print_server_last_printed_timestamp_seconds{printer="주방 \"A\" \\1"} 1773576000
# HELP kitchen_print_server_jobs_printed_today Jobs the printer printed today in this run.
# TYPE kitchen_print_server_jobs_printed_today gauge
kitchen_print_server_jobs_printed_today{printer="COM1"} 0
kitchen_print_server_jobs_printed_today{printer="주방 \"A\" \\1"} 1
)";
    const StoreStatus status = storeWithTwoPrinters();
    EXPECT_EQ(statusMetrics(status, noon.addSecs(60)).toStdString(), expected.toStdString());
    // Yesterday's count is not today's, though nothing printed since midnight.
    EXPECT_TRUE(statusMetrics(status, noon.addDays(1))
                    .contains(R"(jobs_printed_today{printer="주방 \"A\" \\1"} 0)"));
}

// The names, reasons and log lines come from job rows and the driver: they can neither
// add markup nor carry the database password onto the page or into a label.
TEST(StatusMetrics, OutsideTextIsEscapedAndNeverCarriesThePassword) {
    StoreStatus status;
    const QString connection = QStringLiteral(
        "DRIVER={SQL Server};SERVER=db,1433;DATABASE=젤노포스식음;UID=sa;PWD=vextrolam;");
    status.setDatabaseLost(QStringLiteral("[unixODBC] login failed: ") + connection);
    status.addPrinter(QStringLiteral("<b>x</b>\nPWD=vextrolam"));
    const QByteArray page =
        statusHtml(status, {QStringLiteral("connectDatabase  ") + connection}, noon);
    const QByteArray metrics = statusMetrics(status, noon);
    EXPECT_TRUE(page.contains("&lt;b&gt;x&lt;/b&gt;"));
    EXPECT_FALSE(page.contains("<b>"));
    EXPECT_TRUE(metrics.contains(R"(printer="<b>x</b>\nPWD=***")"));
    for (const QByteArray& text : {page, metrics}) {
        EXPECT_FALSE(text.toLower().contains("vextrolam"));
        EXPECT_FALSE(text.contains("UID=sa"));
    }
}
