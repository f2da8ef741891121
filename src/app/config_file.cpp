#include "config_file.h"

#include "codepage949.h"
#include "key_value_line.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr int requiredLines = 5;
constexpr int statusPageIndex = requiredLines; // the sixth line

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

constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

bool isPlainAscii(const QByteArray& contents) {
    return std::all_of(contents.begin(), contents.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The terminals write the file in code page 949; a technician on Linux saves it as UTF-8. Korean
// text in code page 949 is practically never valid UTF-8, so a file that is valid UTF-8 with
// anything beyond ASCII in it, or that starts with UTF-8's byte-order mark, is read as UTF-8.
QString textOf(const QByteArray& contents) {
    if (contents.startsWith(utf8ByteOrderMark)) {
        return QString::fromUtf8(contents.mid(3));
    }
    if (!isPlainAscii(contents)) {
        // Stateless: a character cut off at the end is an error, not one waiting for more bytes.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(contents);
        if (!utf8.hasError()) {
            return text;
        }
    }
    return fromCodePage949(contents);
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
    const QStringList lines = linesOf(textOf(contents));
    if (lines.size() < requiredLines) {
        fail(QStringLiteral("%1 파일의 끝을 지나서 읽을 수 없습니다 (%2줄, %3줄이 필요합니다)")
                 .arg(path)
                 .arg(lines.size())
                 .arg(requiredLines));
    }
    ConfigFile config{valueOfLine(lines.at(1)), valueOfLine(lines.at(2)), valueOfLine(lines.at(3)),
                      valueOfLine(lines.at(4))};
    if (lines.size() > statusPageIndex && keyOfLine(lines.at(statusPageIndex)) == statusPageKey) {
        config.statusPage = valueOfLine(lines.at(statusPageIndex));
    }
    return config;
}

QByteArray configFileContents(const ConfigFile& config) {
    const QString text =
        QStringLiteral("[ZelnorPOS]\r\n매장코드=%1\r\nPOSID=%2\r\nSERVER=%3\r\nDB=%4\r\n")
            .arg(config.storeCode, config.posId, config.dbServer, config.dbKind);
    return toCodePage949(text);
}
