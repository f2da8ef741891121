#include "daily_logs.h"
#include "remembered_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class RememberedRowsTest : public testing::Test {
protected:
    QString filePath() const { return folder_.filePath(RememberedRows::fileName); }

    qsizetype errorLogLines() const {
        const QDir logFolder(folder_.filePath(QStringLiteral("ERROR_LOG")));
        qsizetype lines = 0;
        for (const QString& name : logFolder.entryList(QDir::Files)) {
            QFile log(logFolder.filePath(name));
            log.open(QIODevice::ReadOnly);
            lines += log.readAll().count("\r\n");
        }
        return lines;
    }

    QTemporaryDir folder_;
    DailyLogs logs_{folder_.path()};
};

} // namespace

TEST_F(RememberedRowsTest, EqualRowsAndAnyTextSurviveARestartAndTheFileGoesWithTheLastRow) {
    const QString condition = QStringLiteral("\"프린트내용\" = '김치찌개 1\r\n\"x\"'");
    {
        RememberedRows rows(folder_.path(), logs_);
        rows.add(QStringLiteral("127.0.0.1"), condition);
        rows.add(QStringLiteral("127.0.0.1"), condition);
    }
    RememberedRows restarted(folder_.path(), logs_);
    EXPECT_EQ(restarted.rows(QStringLiteral("127.0.0.1")), QStringList({condition, condition}));
    restarted.keepPresent(QStringLiteral("127.0.0.1"), {condition});
    EXPECT_TRUE(QFile::exists(filePath()));
    restarted.removeOne(QStringLiteral("127.0.0.1"), condition);
    EXPECT_FALSE(QFile::exists(filePath()));
    EXPECT_EQ(errorLogLines(), 0);
}

TEST_F(RememberedRowsTest, UnreadableOrUnwritableFileIsLoggedOnce) {
    QFile corrupt(filePath());
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("{\"127.0.0.1\": [1]}");
    corrupt.close();
    RememberedRows rows(folder_.path(), logs_);
    EXPECT_TRUE(rows.rows(QStringLiteral("127.0.0.1")).isEmpty());
    EXPECT_EQ(errorLogLines(), 1);
    ASSERT_TRUE(QFile::remove(filePath()) && QDir(folder_.path()).mkdir(RememberedRows::fileName));
    rows.add(QStringLiteral("127.0.0.1"), QStringLiteral("a"));
    rows.add(QStringLiteral("127.0.0.1"), QStringLiteral("b"));
    EXPECT_EQ(rows.rows(QStringLiteral("127.0.0.1")), QStringList({"a", "b"}));
    EXPECT_EQ(errorLogLines(), 2);
}
