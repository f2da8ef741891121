#include "codepage949.h"
#include "daily_logs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DailyLogsTest : public testing::Test {
protected:
    DailyLogs logs() {
        return DailyLogs(folder_.path(), [this] { return now_; });
    }

    QString read(const QString& relativePath) const {
        QFile file(QDir(folder_.path()).filePath(relativePath));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath.toStdString();
        return fromCodePage949(file.readAll());
    }

    QTemporaryDir folder_;
    QDateTime now_{QDate(2022, 3, 15), QTime(13, 5, 9)};
};

} // namespace

TEST_F(DailyLogsTest, ErrorLogLinesEndWithDateAndTimeAfterTwoBlanks) {
    logs().writeErrorLog(QStringLiteral("돈통열기_PROC"), QStringLiteral("포트를 열 수 없습니다"));
    now_ = now_.addSecs(60);
    logs().writeErrorLog(QString(), QString());
    EXPECT_EQ(read(QStringLiteral("ERROR_LOG/20220315-프로시져오류.LOG")),
              QStringLiteral("돈통열기_PROC  포트를 열 수 없습니다  2022-03-15  13:05:09\r\n"
                             "    2022-03-15  13:06:09\r\n"));
}

TEST_F(DailyLogsTest, PrintLogGoesToItsOwnFolderInCodePage949) {
    logs().writePrintLog(QStringLiteral("주문내용 : 똠얌꿍 1"));
    QFile file(
        QDir(folder_.path()).filePath(QStringLiteral("주방출력_LOG/20220315-주방출력물.LOG")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("\xc1\xd6\xb9\xae\xb3\xbb\xbf\xeb : \x8c\x63\xbe\xe4\xb2\xe1 1  "
                         "2022-03-15  13:05:09\r\n"));
}

TEST_F(DailyLogsTest, FirstEntryAfterMidnightStartsANewFile) {
    now_ = QDateTime(QDate(2022, 3, 15), QTime(23, 59, 59));
    logs().writePrintLog(QStringLiteral("before"));
    now_ = QDateTime(QDate(2022, 3, 16), QTime(0, 0, 1));
    logs().writePrintLog(QStringLiteral("after"));
    EXPECT_EQ(read(QStringLiteral("주방출력_LOG/20220315-주방출력물.LOG")),
              QStringLiteral("before  2022-03-15  23:59:59\r\n"));
    EXPECT_EQ(read(QStringLiteral("주방출력_LOG/20220316-주방출력물.LOG")),
              QStringLiteral("after  2022-03-16  00:00:01\r\n"));
}

TEST_F(DailyLogsTest, DescriptionWithLineBreaksIsWrittenUnchanged) {
    logs().writeErrorLog(QStringLiteral("주문서인쇄"), QStringLiteral("첫 줄\r\n둘째 줄"));
    EXPECT_EQ(read(QStringLiteral("ERROR_LOG/20220315-프로시져오류.LOG")),
              QStringLiteral("주문서인쇄  첫 줄\r\n둘째 줄  2022-03-15  13:05:09\r\n"));
}

// A log folder that cannot be made (here a file stands in its place) loses only the entries
// written meanwhile: the other log goes on, and the log resumes once its folder can be made.
TEST_F(DailyLogsTest, UnwritableLogLosesOnlyTheEntriesWrittenMeanwhile) {
    QFile blocker(QDir(folder_.path()).filePath(QStringLiteral("ERROR_LOG")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    logs().writeErrorLog(QStringLiteral("주문서인쇄"), QStringLiteral("lost"));
    logs().writePrintLog(QStringLiteral("printed"));
    ASSERT_TRUE(blocker.remove());
    logs().writeErrorLog(QStringLiteral("주문서인쇄"), QStringLiteral("kept"));
    EXPECT_EQ(read(QStringLiteral("주방출력_LOG/20220315-주방출력물.LOG")),
              QStringLiteral("printed  2022-03-15  13:05:09\r\n"));
    EXPECT_EQ(read(QStringLiteral("ERROR_LOG/20220315-프로시져오류.LOG")),
              QStringLiteral("주문서인쇄  kept  2022-03-15  13:05:09\r\n"));
}

// The operator's status list shows a log that cannot be written, until it can again.
TEST_F(DailyLogsTest, AnUnwritableLogIsKeptAsTheWriteProblemUntilAnEntryIsWritten) {
    const DailyLogs daily = logs();
    const QString blocking = QDir(folder_.path()).filePath(QStringLiteral("ERROR_LOG"));
    QFile file(blocking);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    daily.writeErrorLog(QStringLiteral("주문서인쇄"), QStringLiteral("용지가 없습니다"));
    EXPECT_TRUE(daily.writeProblem().contains(QStringLiteral("ERROR_LOG")));
    ASSERT_TRUE(QFile::remove(blocking));
    daily.writeErrorLog(QStringLiteral("주문서인쇄"), QStringLiteral("용지가 없습니다"));
    EXPECT_TRUE(daily.writeProblem().isEmpty());
}
