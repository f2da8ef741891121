#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// The two daily logs beside the program: ERROR_LOG for failures that are recorded instead of
// shown, 주방출력_LOG for every order sheet and kitchen message handled. Lines end in CR LF, in
// code page 949, fields separated by two blanks, date and time last. Writing never fails
// towards the caller: an entry that cannot be written is dropped, and the trouble is kept for
// the operator's status list until an entry is written again.
class DailyLogs {
public:
    using Clock = std::function<QDateTime()>;

    explicit DailyLogs(QString programFolder, Clock clock = &QDateTime::currentDateTime);

    void writeErrorLog(const QString& procedureName, const QString& errorText) const;
    void writePrintLog(const QString& entryText) const;
    // Why the latest entry could not be written; empty when it was.
    const QString& writeProblem() const { return writeProblem_; }
    // Up to `count` of the last lines in today's error log, oldest first, read from the file's
    // last few kilobytes only; none when there is no file.
    QStringList lastErrorLogLines(int count) const;

private:
    QString todaysFile(const QString& folderName, const QString& fileSuffix) const;
    void append(const QString& folderName, const QString& fileSuffix, const QString& text) const;

    QString programFolder_;
    Clock clock_;
    mutable QString writeProblem_;
};
