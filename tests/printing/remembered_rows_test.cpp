#include "daily_logs.h"
#include "remembered_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString address = QStringLiteral("127.0.0.1");

qsizetype errorLogLines(const QTemporaryDir& folder) {
    const QDir logFolder(folder.filePath(QStringLiteral("ERROR_LOG")));
    QByteArray text;
    for (const QString& name : logFolder.entryList(QDir::Files)) {
        QFile log(logFolder.filePath(name));
        if (log.open(QIODevice::ReadOnly)) {
            text += log.readAll();
        }
    }
    return text.count("\r\n");
}

} // namespace

// What the program's restart test does not reach: a condition holding any text, a file this
// program did not write, a file that cannot be written (each reported once).
TEST(RememberedRows, AnyConditionSurvivesARestartAndFileFaultsAreLoggedOnce) {
    QTemporaryDir folder;
    const DailyLogs logs(folder.path());
    const QString condition = QStringLiteral("\"프린트내용\" = '김치찌개 1\r\n\"x\"'");
    const QString database = QStringLiteral("10.0.0.2/S001");
    RememberedRows(folder.path(), logs, database).add(address, condition);
    EXPECT_EQ(RememberedRows(folder.path(), logs, database).rows(address), QStringList{condition});
    // Another store's key may name a ticket not printed yet.
    EXPECT_TRUE(RememberedRows(folder.path(), logs, QStringLiteral("10.0.0.2/S002"))
                    .rows(address)
                    .isEmpty());
    QFile file(folder.filePath(RememberedRows::fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"127.0.0.1\": [1]}");
    file.close();
    RememberedRows rows(folder.path(), logs, database);
    EXPECT_TRUE(rows.rows(address).isEmpty());
    ASSERT_TRUE(file.remove() && QDir(folder.path()).mkdir(RememberedRows::fileName));
    rows.add(address, QStringLiteral("a"));
    rows.add(address, QStringLiteral("b"));
    EXPECT_EQ(rows.rows(address), QStringList({"a", "b"}));
    EXPECT_EQ(errorLogLines(folder), 3);
}
