#include "network_printer_setup.h"

#include "daily_logs.h"
#include "network_printers.h"
#include "pos_database.h"
#include "sql_text.h"
#include "value_conversion.h"

namespace {

bool isNetworkPrinter(const Row& printer) {
    const QVariant port = printer.value(QStringLiteral("프린터포트"));
    const QString text = port.toString();
    return !port.isNull() && text.left(3).toUpper() != QLatin1String("COM") &&
           text != QLatin1String("00000");
}

} // namespace

void loadNetworkPrinters(PosDatabase& database, NetworkPrinters& printers, const DailyLogs& logs) {
    try {
        const ResultSet rows = database.connection().query(
            QStringLiteral("Select * From 주방프린터  Where 매장코드 = '") +
            quotedValue(database.store().storeCode) + QStringLiteral("'"));
        for (const Row& printer : rows) {
            if (!isNetworkPrinter(printer)) {
                continue;
            }
            NetworkPrinterAddress address{printer.value(QStringLiteral("IP주소")).toString(), 0};
            try {
                address.port = toInt32(printer.value(QStringLiteral("프린터포트")),
                                       QStringLiteral("프린터포트"));
            } catch (const ConversionError&) {
                printers.add(address);
                throw;
            }
            printers.add(address);
        }
    } catch (const std::exception& error) {
        logs.writeErrorLog(QStringLiteral("윈속프린터서버연결_PROC"),
                           QString::fromUtf8(error.what()));
    }
}
