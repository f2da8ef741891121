#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// 환경설정.CFG beside the program: five key=value lines in code page 949 (or UTF-8, as a
// technician's editor may save it), read by position, and an optional sixth.
struct ConfigFile {
    QString storeCode; // line 2
    QString posId;     // line 3
    QString dbServer;  // line 4
    QString dbKind;    // line 5; the program runs only on "MS-SQL"
    // Line 6 when its key is statusPageKey: where the status page listens. Unchecked here.
    std::optional<QString> statusPage = std::nullopt;
};

inline const QString configFileName = QStringLiteral("환경설정.CFG");
inline const QString statusPageKey = QStringLiteral("상태페이지");

// Throws std::runtime_error (UTF-8 description) when the file cannot be read or has fewer
// than five lines. Line 1 is read and not used; a sixth line with another key and any line after
// the sixth are ignored.
ConfigFile readConfigFile(const QString& path);

// The file's contents as read by readConfigFile; `path` names the file in the description of
// the std::runtime_error thrown for fewer than five lines.
ConfigFile parseConfigFile(const QByteArray& contents, const QString& path);

// The file as the terminals write it: a header line and the four values, code page 949, CR LF.
QByteArray configFileContents(const ConfigFile& config);
