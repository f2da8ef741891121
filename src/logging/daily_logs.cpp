#include "daily_logs.h"

#include "codepage949.h"

#include <QDir>
#include <QFile>

namespace {

const QString separator = QStringLiteral("  ");

} // namespace

DailyLogs::DailyLogs(QString programFolder, Clock clock)
    : programFolder_(std::move(programFolder)), clock_(std::move(clock)) {}

void DailyLogs::writeErrorLog(const QString& procedureName, const QString& errorText) const {
    append(QStringLiteral("ERROR_LOG"), QStringLiteral("-프로시져오류.LOG"),
           procedureName + separator + errorText);
}

void DailyLogs::writePrintLog(const QString& entryText) const {
    append(QStringLiteral("주방출력_LOG"), QStringLiteral("-주방출력물.LOG"), entryText);
}

// The file is named by the date when it is opened; the line carries the clock read again.
void DailyLogs::append(const QString& folderName, const QString& fileSuffix,
                       const QString& text) const {
    const QDir programFolder(programFolder_);
    if (!programFolder.exists(folderName) && !programFolder.mkdir(folderName)) {
        return;
    }
    const QString fileName = clock_().toString(QStringLiteral("yyyyMMdd")) + fileSuffix;
    QFile file(programFolder.filePath(folderName + '/' + fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return;
    }
    const QDateTime now = clock_();
    file.write(toCodePage949(text + separator + now.toString(QStringLiteral("yyyy-MM-dd")) +
                             separator + now.toString(QStringLiteral("HH:mm:ss")) +
                             QStringLiteral("\r\n")));
}
