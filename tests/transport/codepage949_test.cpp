#include "codepage949.h"
#include "iconv_reference.h"

#include <gtest/gtest.h>

// Kitchen tickets carry Hangul, the extended syllables of code page 949 (똠, 뷁, 햏), box
// drawing and the symbols the layouts use.
TEST(CodePage949, MatchesIconvForTicketText) {
    EXPECT_EQ(toCodePage949(QString::fromUtf16(referenceTicketText)),
              QByteArray(referenceTicketCp949));
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
