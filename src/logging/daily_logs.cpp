#include "daily_logs.h"

#include "codepage949.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace {

const QString separator = QStringLiteral("  ");
const QString errorLogFolder = QStringLiteral("ERROR_LOG");
const QString errorLogSuffix = QStringLiteral("-프로시져오류.LOG");
constexpr qint64 errorLogTailBytes = 8192;

} // namespace

DailyLogs::DailyLogs(QString programFolder, Clock clock)
    : programFolder_(std::move(programFolder)), clock_(std::move(clock)) {}

void DailyLogs::writeErrorLog(const QString& procedureName, const QString& errorText) const {
    append(errorLogFolder, errorLogSuffix, procedureName + separator + errorText);
}

void DailyLogs::writePrintLog(const QString& entryText) const {
    append(QStringLiteral("주방출력_LOG"), QStringLiteral("-주방출력물.LOG"), entryText);
}

QString DailyLogs::todaysFile(const QString& folderName, const QString& fileSuffix) const {
    const QString fileName = clock_().toString(QStringLiteral("yyyyMMdd")) + fileSuffix;
    return QDir(programFolder_).filePath(folderName + '/' + fileName);
}

// A line feed never occurs inside a code page 949 character, so the tail decodes from the first
// line that begins in it.
QStringList DailyLogs::lastErrorLogLines(int count) const {
    QFile file(todaysFile(errorLogFolder, errorLogSuffix));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const qint64 start = std::max<qint64>(0, file.size() - errorLogTailBytes);
    file.seek(start);
    QByteArray tail = file.read(errorLogTailBytes);
    if (start > 0) {
        const qsizetype cutLineEnd = tail.indexOf('\n');
        tail = cutLineEnd < 0 ? QByteArray() : tail.mid(cutLineEnd + 1);
    }
    QStringList lines = fromCodePage949(tail).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - count));
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
    QFile file(todaysFile(folderName, fileSuffix));
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
