#include "control_commands.h"
#include "control_socket.h"
#include "kitchen_printer.h"
#include "printer_options.h"
#include "serial_device_reader.h"
#include "tcp_printer_listener.h"
#include "termination_signals.h"
#include "virtual_printer.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<HostLink> startLink(const PrinterOptions& options, KitchenPrinter& printer) {
    if (options.serialPath.isEmpty()) {
        auto listener = std::make_unique<TcpPrinterListener>(
            printer, options.listenAddress, options.listenPort, options.windowHoldSeconds);
        listener->listen();
        return listener;
    }
    auto reader =
        std::make_unique<SerialDeviceReader>(printer, options.serialPath, options.xonXoff);
    reader->start();
    return reader;
}

std::unique_ptr<ControlSocket> startControl(const QString& path, KitchenPrinter& printer,
                                            HostLink& link) {
    if (path.isEmpty()) {
        return nullptr;
    }
    auto control = std::make_unique<ControlSocket>(path, [&printer, &link](const QString& line) {
        return answerControlLine(line, printer, link);
    });
    control->listen();
    return control;
}

int run(QGuiApplication& application, const PrinterOptions& options) {
    VirtualPrinter paper(options.name, options.outFolder, options.paperFile, options.quiet);
    KitchenPrinter printer(paper, options.bufferBytes, options.bytesPerSecond, options.answers,
                           options.printedAnswers);
    const std::unique_ptr<HostLink> link = startLink(options, printer);
    const std::unique_ptr<ControlSocket> control =
        startControl(options.controlPath, printer, *link);
    quitOnTerminationSignals(application);
    const int exitCode = QGuiApplication::exec();
    paper.finish();
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
        const PrinterOptions options = parsePrinterOptions(QGuiApplication::arguments());
        if (options.helpWanted) {
            std::fputs(qPrintable(usageText()), stdout);
            return 0;
        }
        return run(application, options);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "virtual-printer: %s\n", error.what());
        return 1;
    }
}
