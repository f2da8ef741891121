#include "printer_options.h"

#include <QCommandLineParser>
#include <stdexcept>

namespace {

constexpr int impactBytesPerSecond = 250;

const char* const usage = R"(usage: virtual-printer --name <name> --out <folder>
                       (--listen <ip>:<port> | --serial <path>) [options]
  --name <name>         printer name in the receipt headers and image names
  --out <folder>        folder of the receipt images, <name>-0001.png, ...
  --listen <ip>:<port>  a network printer, one TCP client at a time
  --serial <path>       a serial printer on a device or pseudo-terminal
  --buffer <bytes>      receive buffer (4096); input waits while it is full
  --speed <bytes/s>     print speed (20000, a fast thermal printer)
  --impact              an impact printer: --speed 250
  --paper <file>        appends every byte put on paper to the file as it is printed
  --control <path>      Unix socket taking one command per line, answered "ok",
                        "error <reason>" or the status line:
                          paper out | paper near-end | paper in, cover open | cover close,
                          offline | online, power off | power on, answers off | answers on,
                          reset after <bytes> (network: reset the connection then), status
  --no-answers          answers no status request (DLE EOT, GS r)
  --no-printed-answer   answers DLE EOT but never GS r
  --hold-window <s>     network: once its buffer is full, reads nothing for that many
                        seconds (its TCP window stays closed), every time it fills
  --xon-xoff            serial: XOFF at a 3/4 full buffer, XON at 1/4
  --quiet               no receipt text on standard output (images still go to --out)
)";

[[noreturn]] void refuse(const QString& reason) {
    throw std::invalid_argument((reason + QLatin1Char('\n') + usageText()).toStdString());
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

int positiveNumber(const QCommandLineParser& parser, const QString& option, int otherwise) {
    if (!parser.isSet(option)) {
        return otherwise;
    }
    bool isNumber = false;
    const int value = parser.value(option).toInt(&isNumber);
    if (!isNumber || value <= 0) {
        refuse(QStringLiteral("--%1 wants a positive number, not '%2'")
                   .arg(option, parser.value(option)));
    }
    return value;
}

QCommandLineOption valueOption(const char* name) {
    return {QString::fromLatin1(name), QString(), QStringLiteral("value")};
}

QCommandLineOption flag(const char* name) {
    return QCommandLineOption(QString::fromLatin1(name));
}

void readPort(const QCommandLineParser& parser, PrinterOptions& options) {
    const bool listens = parser.isSet(QStringLiteral("listen"));
    if (listens == parser.isSet(QStringLiteral("serial"))) {
        refuse(QStringLiteral("one of --listen and --serial is needed"));
    }
    if (listens) {
        readListenAddress(parser.value(QStringLiteral("listen")), options);
    } else {
        options.serialPath = parser.value(QStringLiteral("serial"));
    }
    options.xonXoff = parser.isSet(QStringLiteral("xon-xoff"));
    if (options.xonXoff && listens) {
        refuse(QStringLiteral("--xon-xoff is for a serial printer"));
    }
    options.windowHoldSeconds = positiveNumber(parser, QStringLiteral("hold-window"), 0);
    if (options.windowHoldSeconds > 0 && !listens) {
        refuse(QStringLiteral("--hold-window is for a network printer"));
    }
}

void readEngine(const QCommandLineParser& parser, PrinterOptions& options) {
    const bool impact = parser.isSet(QStringLiteral("impact"));
    if (impact && parser.isSet(QStringLiteral("speed"))) {
        refuse(QStringLiteral("--impact sets the speed; give one of --impact and --speed"));
    }
    options.bufferBytes =
        positiveNumber(parser, QStringLiteral("buffer"), static_cast<int>(options.bufferBytes));
    options.bytesPerSecond =
        impact ? impactBytesPerSecond
               : positiveNumber(parser, QStringLiteral("speed"), options.bytesPerSecond);
}

} // namespace

QString usageText() {
    return QString::fromUtf8(usage);
}

PrinterOptions parsePrinterOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    for (const char* name : {"name", "out", "listen", "serial", "buffer", "speed", "paper",
                             "control", "hold-window"}) {
        parser.addOption(valueOption(name));
    }
    for (const char* name :
         {"impact", "no-answers", "no-printed-answer", "xon-xoff", "quiet", "help"}) {
        parser.addOption(flag(name));
    }
    if (!parser.parse(arguments)) {
        refuse(parser.errorText());
    }
    PrinterOptions options;
    if (parser.isSet(QStringLiteral("help"))) {
        options.helpWanted = true;
        return options;
    }
    if (!parser.isSet(QStringLiteral("name")) || !parser.isSet(QStringLiteral("out"))) {
        refuse(QStringLiteral("--name and --out are needed"));
    }
    options.name = parser.value(QStringLiteral("name"));
    options.outFolder = parser.value(QStringLiteral("out"));
    readPort(parser, options);
    readEngine(parser, options);
    options.paperFile = parser.value(QStringLiteral("paper"));
    options.controlPath = parser.value(QStringLiteral("control"));
    options.answers = !parser.isSet(QStringLiteral("no-answers"));
    options.printedAnswers = !parser.isSet(QStringLiteral("no-printed-answer"));
    options.quiet = parser.isSet(QStringLiteral("quiet"));
    return options;
}
