#include "control_commands.h"

#include <QRegularExpression>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

using Command = std::function<void(KitchenPrinter&, HostLink&)>;

const QString ok = QStringLiteral("ok");

// Switching the power to where it already is does nothing.
void power(KitchenPrinter& printer, HostLink& link, bool on) {
    if (printer.state().poweredOn == on) {
        return;
    }
    if (on) {
        link.powerOn();
        printer.powerOn();
    } else {
        link.powerOff();
        printer.powerOff();
    }
}

const std::map<QString, Command>& switches() {
    static const std::map<QString, Command> commands{
        {QStringLiteral("paper out"), [](auto& p, auto&) { p.setPaper(PaperLevel::Out); }},
        {QStringLiteral("paper near-end"), [](auto& p, auto&) { p.setPaper(PaperLevel::NearEnd); }},
        {QStringLiteral("paper in"), [](auto& p, auto&) { p.setPaper(PaperLevel::In); }},
        {QStringLiteral("cover open"), [](auto& p, auto&) { p.setCoverOpen(true); }},
        {QStringLiteral("cover close"), [](auto& p, auto&) { p.setCoverOpen(false); }},
        {QStringLiteral("offline"), [](auto& p, auto&) { p.setSwitchedOffline(true); }},
        {QStringLiteral("online"), [](auto& p, auto&) { p.setSwitchedOffline(false); }},
        {QStringLiteral("answers off"), [](auto& p, auto&) { p.setAnswers(false); }},
        {QStringLiteral("answers on"), [](auto& p, auto&) { p.setAnswers(true); }},
        {QStringLiteral("power off"), [](auto& p, auto& l) { power(p, l, false); }},
        {QStringLiteral("power on"), [](auto& p, auto& l) { power(p, l, true); }},
    };
    return commands;
}

QString paperText(PaperLevel level) {
    switch (level) {
    case PaperLevel::NearEnd:
        return QStringLiteral("near-end");
    case PaperLevel::Out:
        return QStringLiteral("out");
    default:
        return QStringLiteral("in");
    }
}

QString yesNo(bool value, const char* yes, const char* no) {
    return QString::fromLatin1(value ? yes : no);
}

QString statusLine(const KitchenPrinter& printer, const HostLink& link) {
    const PrinterState& state = printer.state();
    const std::optional<qint64> reset = link.pendingReset();
    return QStringLiteral("connections=%1 received=%2 printed=%3 buffered=%4 paper=%5 cover=%6 "
                          "online=%7 power=%8 answers=%9 reset-after=%10")
        .arg(link.connections())
        .arg(printer.received())
        .arg(printer.printed())
        .arg(printer.buffered())
        .arg(paperText(state.paper), yesNo(state.coverOpen, "open", "closed"),
             yesNo(!state.offline(), "yes", "no"), yesNo(state.poweredOn, "on", "off"),
             yesNo(state.answers, "on", "off"),
             reset ? QString::number(*reset) : QStringLiteral("none"));
}

QString resetAfter(const QString& count, KitchenPrinter& printer, HostLink& link) {
    bool isNumber = false;
    const qint64 bytes = count.toLongLong(&isNumber);
    if (!isNumber || bytes < 0) {
        return QStringLiteral("error not a byte count: %1").arg(count);
    }
    if (!printer.state().poweredOn) {
        return QStringLiteral("error the power is off");
    }
    return link.resetAfter(bytes) ? ok : QStringLiteral("error a serial line has no connection");
}

} // namespace

QString answerControlLine(const QString& line, KitchenPrinter& printer, HostLink& link) {
    const QString command = line.simplified();
    if (command == QLatin1String("status")) {
        return statusLine(printer, link);
    }
    static const QRegularExpression resetCommand(QStringLiteral("^reset after (\\S+)$"));
    const QRegularExpressionMatch reset = resetCommand.match(command);
    if (reset.hasMatch()) {
        return resetAfter(reset.captured(1), printer, link);
    }
    const auto found = switches().find(command);
    if (found == switches().end()) {
        return QStringLiteral("error unknown command: %1").arg(command);
    }
    try {
        found->second(printer, link);
    } catch (const std::runtime_error& error) {
        return QStringLiteral("error %1").arg(QString::fromLocal8Bit(error.what()));
    }
    return ok;
}
