#include "printer_commands.h"

#include "row.h"

namespace {

QString bytes(std::initializer_list<char> values) {
    QString text;
    for (const char value : values) {
        text += QLatin1Char(value);
    }
    return text;
}

QString kitchenSizeFor(const QString& setting, const PrinterCommands& commands) {
    if (setting == QStringLiteral("세로확대") || setting == QStringLiteral("세로확대 단가표시")) {
        return commands.doubleHeight;
    }
    if (setting == QStringLiteral("가로확대") || setting == QStringLiteral("가로확대 단가표시")) {
        return commands.doubleWidth;
    }
    if (setting == QStringLiteral("가로세로확대") ||
        setting == QStringLiteral("가로세로확대 단가표시")) {
        return commands.doubleSize;
    }
    return commands.doubleHeight;
}

} // namespace

void preparePrinterCommands(PrinterCommands& commands, const Row& settings) {
    try {
        commands.alignLeft = bytes({0x1B, 0x61, 0x30});
        commands.alignCenter = bytes({0x1B, 0x61, 0x31});
        commands.doubleWidth = bytes({0x1D, 0x21, 0x10});
        commands.doubleHeight = bytes({0x1D, 0x21, 0x01});
        commands.doubleSize = bytes({0x1D, 0x21, 0x11});
        commands.sizeNormal = bytes({0x1D, 0x21, 0x00});
        commands.cut = bytes({0x1B, 0x69});
        if (settings.text(QStringLiteral("프린터종류")) == QLatin1String("REXOD")) {
            commands.cut = bytes({0x1B, 0x6D});
        }
        commands.kitchenSize =
            kitchenSizeFor(settings.text(QStringLiteral("주방프린터글자크기")), commands);
    } catch (const std::exception&) {
        // The printers keep the commands prepared so far; nothing is shown or logged.
    }
}
