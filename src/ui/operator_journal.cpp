#include "operator_journal.h"

#include <cstdio>

void writeToJournal(const QString& text) {
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes =
        QStringLiteral("kitchen-print-server: %1\n").arg(line.trimmed()).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}
