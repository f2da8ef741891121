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
        writeProblem_ =
            QStringLiteral("%1 폴더를 만들 수 없습니다").arg(programFolder.filePath(folderName));
        return;
    }
    const QString fileName = clock_().toString(QStringLiteral("yyyyMMdd")) + fileSuffix;
    QFile file(programFolder.filePath(folderName + '/' + fileName));
    const QDateTime now = clock_();
    const QByteArray line =
        toCodePage949(text + separator + now.toString(QStringLiteral("yyyy-MM-dd")) + separator +
                      now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("\r\n"));
    // A full disk shows only when the line is flushed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size() ||
        !file.flush()) {
        writeProblem_ =
            QStringLiteral("%1에 쓸 수 없습니다: %2").arg(file.fileName(), file.errorString());
        return;
    }
    writeProblem_.clear();
}
