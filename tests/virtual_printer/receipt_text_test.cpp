#include "receipt_text.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

QString spaces(int count) {
    return QString(count, QLatin1Char(' '));
}

// The paper line of a one-line receipt: the text between the header and the cut.
QString paperLineOf(const PaperLine& line) {
    const QStringList lines = receiptText(Receipt{{line}}, QStringLiteral("주방1"), 1).split('\n');
    EXPECT_EQ(lines.size(), 4); // header, the line, the cut, nothing after the last line end
    return lines.value(1);
}

PaperLine line(Alignment alignment, const QString& text, CharacterSize size = {1, 1}) {
    return PaperLine{alignment, {TextRun{text, size}}};
}

} // namespace

TEST(ReceiptText, FramesThePaperBetweenHeaderAndScissorLine) {
    const Receipt receipt{{line(Alignment::Left, QStringLiteral("A")), PaperLine{}}};
    EXPECT_EQ(receiptText(receipt, QStringLiteral("주방1-COM1"), 7),
              QStringLiteral("=== 주방1-COM1 #0007 ===\n") + QStringLiteral("     |A") +
                  spaces(47) + QStringLiteral("|\n") + QStringLiteral("     |") + spaces(48) +
                  QStringLiteral("|\n") + QStringLiteral("✂") + QStringLiteral(" -").repeated(27) +
                  QStringLiteral("\n"));
}

// Hangul takes two of the 48 columns: "주문 AB" is 7 columns, 41 left over.
TEST(ReceiptText, JustifiesByColumnsWithHangulTakingTwo) {
    const QString text = QStringLiteral("주문 AB");
    EXPECT_EQ(paperLineOf(line(Alignment::Center, text)),
              QStringLiteral("     |") + spaces(20) + text + spaces(21) + QStringLiteral("|"));
    EXPECT_EQ(paperLineOf(line(Alignment::Right, text)),
              QStringLiteral("     |") + spaces(41) + text + QStringLiteral("|"));
    EXPECT_EQ(paperLineOf(line(Alignment::Left, text)),
              QStringLiteral("     |") + text + spaces(41) + QStringLiteral("|"));
}

// Symbols like ※ take two columns on the printer but often one in a terminal.
TEST(ReceiptText, SymbolsOfTwoPrinterColumnsArePaddedToTwo) {
    EXPECT_EQ(paperLineOf(line(Alignment::Left, QStringLiteral("※1"))),
              QStringLiteral("     |※ 1") + spaces(45) + QStringLiteral("|"));
}

TEST(ReceiptText, DoubleWidthIsSpacedAndSizesAreMarkedInTheGutter) {
    EXPECT_EQ(paperLineOf(line(Alignment::Left, QStringLiteral("김A"), {2, 1})),
              QStringLiteral("  W2 |김  A ") + spaces(42) + QStringLiteral("|"));
    EXPECT_EQ(paperLineOf(line(Alignment::Right, QStringLiteral("12"), {1, 2})),
              QStringLiteral("  H2 |") + spaces(46) + QStringLiteral("12|"));
    EXPECT_EQ(paperLineOf(line(Alignment::Center, QStringLiteral("AB"), {2, 2})),
              QStringLiteral("W2H2 |") + spaces(22) + QStringLiteral("A B ") + spaces(22) +
                  QStringLiteral("|"));
}

TEST(ReceiptText, MixedSizesMarkTheLargest) {
    const PaperLine mixed{
        Alignment::Left,
        {TextRun{QStringLiteral("  "), {1, 1}}, TextRun{QStringLiteral("*"), {1, 2}}}};
    EXPECT_EQ(paperLineOf(mixed), QStringLiteral("  H2 |  *") + spaces(45) + QStringLiteral("|"));
}

TEST(ReceiptText, DrawerKickNamesThePrinter) {
    EXPECT_EQ(drawerKickText(QStringLiteral("주방1-COM1")),
              QStringLiteral("=== 주방1-COM1 [돈통 열림] ===\n"));
}
