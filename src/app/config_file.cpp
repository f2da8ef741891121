#include "config_file.h"

#include "codepage949.h"
#include "key_value_line.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <stdexcept>

namespace {

constexpr int requiredLines = 5;

[[noreturn]] void fail(const QString& description) {
    throw std::runtime_error(description.toStdString());
}

// Lines end in CR LF; a file edited on Linux may end them in LF alone. A terminator at the end
// of the file does not start another line.
QStringList linesOf(const QString& text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

} // namespace

ConfigFile readConfigFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1 파일을 읽을 수 없습니다: %2").arg(path, file.errorString()));
    }
    return parseConfigFile(file.readAll(), path);
}

ConfigFile parseConfigFile(const QByteArray& contents, const QString& path) {
    const QStringList lines = linesOf(fromCodePage949(contents));
    if (lines.size() < requiredLines) {
        fail(QStringLiteral("%1 파일의 끝을 지나서 읽을 수 없습니다 (%2줄, %3줄이 필요합니다)")
                 .arg(path)
                 .arg(lines.size())
                 .arg(requiredLines));
    }
    return ConfigFile{valueOfLine(lines.at(1)), valueOfLine(lines.at(2)), valueOfLine(lines.at(3)),
                      valueOfLine(lines.at(4))};
}
