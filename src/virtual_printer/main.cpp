#include "printer_options.h"
#include "serial_device_reader.h"
#include "tcp_printer_listener.h"
#include "termination_signals.h"
#include "virtual_printer.h"

#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

namespace {

// Starts reading what the print server sends; the reader belongs to owner.
void startPort(const PrinterOptions& options, VirtualPrinter& printer, QObject& owner) {
    const auto receive = [&printer](const QByteArray& bytes) { printer.receive(bytes); };
    if (options.serialPath.isEmpty()) {
        auto* listener = new TcpPrinterListener(&owner);
        QObject::connect(listener, &TcpPrinterListener::received, &owner, receive);
        listener->listen(options.listenAddress, options.listenPort);
    } else {
        auto* reader = new SerialDeviceReader(options.serialPath, &owner);
        QObject::connect(reader, &SerialDeviceReader::received, &owner, receive);
        reader->start();
    }
}

int run(QGuiApplication& application, const PrinterOptions& options) {
    VirtualPrinter printer(options.name, options.outFolder);
    QObject port;
    startPort(options, printer, port);
    quitOnTerminationSignals(application);
    const int exitCode = QGuiApplication::exec();
    printer.finish();
    return exitCode;
}

} // namespace

// Receipts are drawn into images, which needs fonts but no display: the offscreen platform
// serves unless the caller chose another.
int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    try {
        return run(application, parsePrinterOptions(QGuiApplication::arguments()));
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "virtual-printer: %s\n", error.what());
        return 1;
    }
}
