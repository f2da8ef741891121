#include "window_system_start.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

// What Qt says while it looks for its window system, held back: on success it is passed on,
// on failure its first line says why.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> held;

void holdWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        held.append({type, text});
        return;
    }
    const QString why = (held.isEmpty() ? text : held.constFirst().text).trimmed();
    std::fprintf(stderr,
                 "kitchen-print-server: 화면(윈도 시스템)에 연결할 수 없어 시작하지 않습니다: %s "
                 "(DISPLAY 또는 WAYLAND_DISPLAY를 확인하십시오)\n",
                 why.toUtf8().constData());
    static_cast<void>(context);
    std::_Exit(EXIT_FAILURE);
}

void passOn(const HeldMessage& message) {
    const QByteArray text = message.text.toUtf8();
    switch (message.type) {
    case QtDebugMsg:
        QMessageLogger().debug("%s", text.constData());
        break;
    case QtInfoMsg:
        QMessageLogger().info("%s", text.constData());
        break;
    default:
        QMessageLogger().warning("%s", text.constData());
        break;
    }
}

} // namespace

std::unique_ptr<QApplication> startWindowSystem(int& argc, char** argv) {
    const QtMessageHandler previous = qInstallMessageHandler(holdWhileStarting);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    for (const HeldMessage& message : std::as_const(held)) {
        passOn(message);
    }
    held.clear();
    return application;
}
