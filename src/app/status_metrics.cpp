#include "status_metrics.h"

#include "pos_database.h"

#include <QStringList>
#include <array>
#include <utility>

namespace {

const QString prefix = QStringLiteral("kitchen_print_server_");

// Every state a printer can be in, so that a monitor can alert on any of them being 1.
constexpr std::array<std::pair<std::optional<PrinterTrouble>, const char*>, 8> printerStates{{
    {std::nullopt, "ready"},
    {PrinterTrouble::paperNearEnd, "paper_near_end"},
    {PrinterTrouble::paperOut, "paper_out"},
    {PrinterTrouble::coverOpen, "cover_open"},
    {PrinterTrouble::offline, "offline"},
    {PrinterTrouble::notAnswering, "not_answering"},
    {PrinterTrouble::notTaking, "stalled"},
    {PrinterTrouble::unavailable, "unavailable"},
}};

// A label value escapes backslash, double quote and line feed.
QString labelValue(const QString& text) {
    QString escaped = withoutPassword(text);
    escaped.replace('\\', QStringLiteral("\\\\"))
        .replace('"', QStringLiteral("\\\""))
        .replace('\n', QStringLiteral("\\n"));
    return escaped;
}

class MetricText {
public:
    void family(const char* name, const char* help) {
        name_ = prefix + QLatin1String(name);
        lines_ << QStringLiteral("# HELP %1 %2").arg(name_, QLatin1String(help))
               << QStringLiteral("# TYPE %1 gauge").arg(name_);
    }

    void sample(const QString& labels, qint64 value) {
        const QString labelSet = labels.isEmpty() ? QString() : '{' + labels + '}';
        lines_ << name_ + labelSet + ' ' + QString::number(value);
    }

    QByteArray text() const { return (lines_.join('\n') + '\n').toUtf8(); }

private:
    QString name_;
    QStringList lines_;
};

QString printerLabel(const PrinterHealth& printer) {
    return QStringLiteral("printer=\"%1\"").arg(labelValue(printer.name));
}

} // namespace

QByteArray statusMetrics(const StoreStatus& status, const QDateTime& now) {
    MetricText metrics;
    metrics.family("database_connected", "Whether the connection to the POS database stands.");
    metrics.sample(QString(), status.databaseConnected() ? 1 : 0);
    metrics.family("printer_state", "1 for the state the printer is in, 0 for the others.");
    for (const PrinterHealth& printer : status.printers()) {
        for (const auto& [trouble, state] : printerStates) {
            metrics.sample(printerLabel(printer) + QStringLiteral(",state=\"%1\"").arg(state),
                           printer.trouble == trouble ? 1 : 0);
        }
    }
    metrics.family("jobs_waiting", "Jobs in the table waiting for the printer.");
    for (const PrinterHealth& printer : status.printers()) {
        metrics.sample(printerLabel(printer), printer.waitingJobs);
    }
    metrics.family("last_printed_timestamp_seconds",
                   "When the printer last printed a job in this run, as Unix time.");
    for (const PrinterHealth& printer : status.printers()) {
        if (printer.lastPrinted.isValid()) {
            metrics.sample(printerLabel(printer), printer.lastPrinted.toSecsSinceEpoch());
        }
    }
    metrics.family("jobs_printed_today", "Jobs the printer printed today in this run.");
    for (const PrinterHealth& printer : status.printers()) {
        metrics.sample(printerLabel(printer), printer.printedOn(now.date()));
    }
    return metrics.text();
}
