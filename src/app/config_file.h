#pragma once

#include <QByteArray>
#include <QString>

// 환경설정.CFG beside the program: five key=value lines in code page 949 (or UTF-8, as a
// technician's editor may save it), read by position.
struct ConfigFile {
    QString storeCode; // line 2
    QString posId;     // line 3
    QString dbServer;  // line 4
    QString dbKind;    // line 5; the program runs only on "MS-SQL"
};

inline const QString configFileName = QStringLiteral("환경설정.CFG");

// Throws std::runtime_error (UTF-8 description) when the file cannot be read or has fewer
// than five lines. Line 1 is read and not used; lines after the fifth are ignored.
ConfigFile readConfigFile(const QString& path);

// The file's contents as read by readConfigFile; `path` names the file in the description of
// the std::runtime_error thrown for fewer than five lines.
ConfigFile parseConfigFile(const QByteArray& contents, const QString& path);

// The file as the terminals write it: a header line and the four values, code page 949, CR LF.
QByteArray configFileContents(const ConfigFile& config);
