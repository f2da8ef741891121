#include "codepage949.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray iconvCp949(const QString& text) {
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                          QStringLiteral("-t"), QStringLiteral("CP949")});
    iconv.write(text.toUtf8());
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    EXPECT_EQ(iconv.exitCode(), 0) << iconv.readAllStandardError().toStdString();
    return iconv.readAllStandardOutput();
}

} // namespace

// Kitchen tickets carry Hangul, the extended syllables of code page 949 (똠, 뷁, 햏), box
// drawing and the symbols the layouts use.
TEST(CodePage949, MatchesIconvForTicketText) {
    const QString text = QStringLiteral("주문서 # 57 [현금미결 : 12,500원] 똠얌꿍 뷁 햏 "
                                        "└ * ※ ─━ ①② ABC abc 0123 ~!@#$%^&*()");
    EXPECT_EQ(toCodePage949(text), iconvCp949(text));
}

TEST(CodePage949, ExtendedSyllablesUseTheWindowsTable) {
    EXPECT_EQ(toCodePage949(QStringLiteral("똠")), QByteArray("\x8c\x63"));
    EXPECT_EQ(toCodePage949(QStringLiteral("뷁")), QByteArray("\x94\xee"));
}

TEST(CodePage949, DecodesWhatItEncodes) {
    const QString text = QStringLiteral("환경설정 매장코드=A001 똠 뷁\r\n");
    EXPECT_EQ(fromCodePage949(toCodePage949(text)), text);
}

TEST(CodePage949, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(toCodePage949(QStringLiteral("é가😀")), QByteArray("?\xb0\xa1?"));
}

// A configuration file's last line may be a lone lead byte; it must not vanish with its line.
TEST(CodePage949, IncompleteCharacterAtTheEndIsKeptAsInvalid) {
    EXPECT_EQ(fromCodePage949("ab\xc1"), QStringLiteral("ab\uFFFD"));
    EXPECT_EQ(toCodePage949(QStringLiteral("ab") + QChar(0xD800)), QByteArray("ab?"));
}
