#include "status_html.h"

#include "pos_database.h"
#include "status_metrics.h"

namespace {

const QString style = QStringLiteral(
    "body{font-family:sans-serif;font-size:15px;margin:8px;color:#222;max-width:720px}"
    "h1{font-size:18px;margin:0 0 4px}h2{font-size:15px;margin:14px 0 4px}"
    "p{margin:0 0 8px;color:#666;font-size:13px}"
    "table{border-collapse:collapse;width:100%}"
    "th,td{border-bottom:1px solid #ddd;padding:4px 3px;text-align:left;vertical-align:top}"
    "th{white-space:nowrap}th.key{width:7em}td.n{text-align:right;white-space:nowrap}"
    ".normal{color:#176b2c}.warning{color:#9a6200}.fault{color:#b00020;font-weight:bold}"
    "small{display:block;color:#555;font-weight:normal;font-size:12px}"
    "ol{margin:0;padding:0;list-style:none;font-family:monospace;font-size:12px}"
    "li{white-space:pre-wrap;word-break:break-all;border-bottom:1px solid #eee;padding:2px 0}");

// Every text from outside (the driver, the job rows, the log) goes through here.
QString shown(const QString& text) {
    return withoutPassword(text).toHtmlEscaped();
}

QString severityClass(StoreStatus::Severity severity) {
    switch (severity) {
    case StoreStatus::Severity::normal:
        return QStringLiteral("normal");
    case StoreStatus::Severity::warning:
        return QStringLiteral("warning");
    case StoreStatus::Severity::fault:
        break;
    }
    return QStringLiteral("fault");
}

QString severityWord(StoreStatus::Severity severity) {
    switch (severity) {
    case StoreStatus::Severity::normal:
        return QStringLiteral("정상");
    case StoreStatus::Severity::warning:
        return QStringLiteral("주의");
    case StoreStatus::Severity::fault:
        break;
    }
    return QStringLiteral("이상");
}

QString cell(const QString& cssClass, const QString& text) {
    return QStringLiteral("<td class=\"%1\">%2</td>").arg(cssClass, text);
}

QString databaseRow(const StoreStatus& status) {
    const QString state =
        status.databaseConnected()
            ? cell(QStringLiteral("normal"), QStringLiteral("연결됨"))
            : cell(QStringLiteral("fault"), QStringLiteral("연결 안 됨<small>%1</small>")
                                                .arg(shown(status.databaseReason())));
    return QStringLiteral("<tr><th class=\"key\">데이타베이스</th>") + state +
           QStringLiteral("</tr>");
}

QString logRow(const StoreStatus& status) {
    const QString state = status.logProblem().isEmpty()
                              ? cell(QStringLiteral("normal"), QStringLiteral("기록 중"))
                              : cell(QStringLiteral("fault"), shown(status.logProblem()));
    return QStringLiteral("<tr><th class=\"key\">로그</th>") + state + QStringLiteral("</tr>");
}

QString timeOf(const QDateTime& at, const QDate& today) {
    if (!at.isValid()) {
        return QStringLiteral("-");
    }
    return at.toString(at.date() == today ? QStringLiteral("HH:mm:ss")
                                          : QStringLiteral("MM-dd HH:mm:ss"));
}

QString printerRow(const PrinterHealth& printer, const QDate& today) {
    const StoreStatus::Severity severity = StoreStatus::severityOf(printer);
    const QString detail = printer.detail.isEmpty()
                               ? QString()
                               : QStringLiteral("<small>%1</small>").arg(shown(printer.detail));
    return QStringLiteral("<tr><td>%1</td>").arg(shown(printer.name)) +
           cell(severityClass(severity), printerStateLabel(printer) + detail) +
           QStringLiteral(
               "<td class=\"n\">%1</td><td class=\"n\">%2</td><td class=\"n\">%3</td></tr>")
               .arg(timeOf(printer.lastPrinted, today), QString::number(printer.waitingJobs),
                    QString::number(printer.printedOn(today)));
}

QString printerTable(const StoreStatus& status, const QDate& today) {
    QString rows;
    for (const PrinterHealth& printer : status.printers()) {
        rows += printerRow(printer, today);
    }
    if (rows.isEmpty()) {
        rows = QStringLiteral("<tr><td colspan=\"5\">아직 출력할 프린터가 없습니다</td></tr>");
    }
    return QStringLiteral("<table><tr><th>프린터</th><th>상태</th><th>마지막 출력</th>"
                          "<th>대기</th><th>오늘</th></tr>") +
           rows + QStringLiteral("</table>");
}

QString errorLogList(const QStringList& lines) {
    if (lines.isEmpty()) {
        return QStringLiteral("<p>오늘은 오류가 없습니다</p>");
    }
    QString items;
    for (const QString& line : lines) {
        items += QStringLiteral("<li>%1</li>").arg(shown(line));
    }
    return QStringLiteral("<ol>") + items + QStringLiteral("</ol>");
}

} // namespace

QByteArray statusHtml(const StoreStatus& status, const QStringList& errorLogLines,
                      const QDateTime& now) {
    const StoreStatus::Severity severity = status.severity();
    const QString page =
        QStringLiteral("<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\">"
                       "<meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
                       "<meta http-equiv=\"refresh\" content=\"%1\">"
                       "<title>주방 출력 서버 상태</title><style>%2</style></head><body>")
            .arg(QString::number(statusPageRefreshSeconds), style) +
        QStringLiteral("<h1>주방 출력 서버 <span class=\"%1\">%2</span></h1>")
            .arg(severityClass(severity), severityWord(severity)) +
        QStringLiteral("<p>%1 현재, %2초마다 새로 고침</p>")
            .arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                 QString::number(statusPageRefreshSeconds)) +
        QStringLiteral("<table>") + databaseRow(status) + logRow(status) +
        QStringLiteral("</table><h2>프린터</h2>") + printerTable(status, now.date()) +
        QStringLiteral("<h2>오류 로그</h2>") + errorLogList(errorLogLines) +
        QStringLiteral("</body></html>\n");
    return page.toUtf8();
}
