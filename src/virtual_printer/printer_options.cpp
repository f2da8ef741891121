#include "printer_options.h"

#include <QCommandLineParser>
#include <stdexcept>

namespace {

const QString usage = QStringLiteral("usage: virtual-printer --name <name> --out <folder> "
                                     "(--listen <host>:<port> | --serial <path>)");

[[noreturn]] void refuse(const QString& reason) {
    throw std::invalid_argument((reason + QLatin1Char('\n') + usage).toStdString());
}

void readListenAddress(const QString& text, PrinterOptions& options) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = text.mid(colon + 1).toUInt(&portOk);
    if (colon < 0 || !portOk || port == 0 || port > 65535 ||
        !options.listenAddress.setAddress(text.left(colon))) {
        refuse(QStringLiteral("--listen wants <ip address>:<port>, not '%1'").arg(text));
    }
    options.listenPort = static_cast<quint16>(port);
}

} // namespace

PrinterOptions parsePrinterOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("printer name"),
                                  QStringLiteral("name"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("receipt image folder"),
                                 QStringLiteral("folder"));
    const QCommandLineOption listen(QStringLiteral("listen"), QStringLiteral("TCP address"),
                                    QStringLiteral("host:port"));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("serial device"),
                                    QStringLiteral("path"));
    parser.addOptions({name, out, listen, serial});
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
    }
    if (!parser.isSet(name) || !parser.isSet(out) || parser.isSet(listen) == parser.isSet(serial)) {
        refuse(QStringLiteral("--name, --out and one of --listen and --serial are needed"));
    }
    PrinterOptions options;
    options.name = parser.value(name);
    options.outFolder = parser.value(out);
    if (parser.isSet(listen)) {
        readListenAddress(parser.value(listen), options);
    } else {
        options.serialPath = parser.value(serial);
    }
    return options;
}
