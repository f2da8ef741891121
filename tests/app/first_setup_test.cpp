#include "first_setup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

CommandLine setupOf(const QString& folder, const QString& storeCode) {
    CommandLine command;
    command.action = CommandLine::Action::Setup;
    command.programFolder = folder;
    command.setup =
        ConfigFile{storeCode, QStringLiteral("01"), QStringLiteral("db"), QStringLiteral("MS-SQL")};
    return command;
}

} // namespace

// Neither case reaches the database: the file is refused before anything is checked.
TEST(FirstSetup, NeverWritesAFileThatWouldReadBackOtherwiseNorReplacesOneUnasked) {
    QTemporaryDir folder;
    const QString path = folder.filePath(configFileName);
    QString output;
    QTextStream out(&output);
    for (const QString& unwritable : {QStringLiteral("강남😀"), QStringLiteral("S1\r\nX")}) {
        EXPECT_EQ(runFirstSetup(setupOf(folder.path(), unwritable), out), 1);
        EXPECT_FALSE(QFile::exists(path));
    }
    QFile existing(path);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();
    EXPECT_EQ(runFirstSetup(setupOf(folder.path(), QStringLiteral("S1")), out), 1);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("kept"));
    EXPECT_EQ(output.count(QStringLiteral("실패")), 3);
}
