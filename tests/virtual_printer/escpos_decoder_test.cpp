#include "escpos_bytes.h"
#include "escpos_decoder.h"

#include <gtest/gtest.h>

using namespace escpos_bytes;

namespace {

struct ExpectedLine {
    Alignment alignment;
    QString text;
    CharacterSize size;
};

// Lines of one size each; an empty text stands for an empty line.
void expectLines(const Receipt& receipt, const std::vector<ExpectedLine>& expected) {
    ASSERT_EQ(receipt.lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PaperLine& line = receipt.lines[i];
        if (expected[i].text.isEmpty()) {
            EXPECT_TRUE(line.runs.empty()) << "line " << i;
            continue;
        }
        EXPECT_EQ(line.alignment, expected[i].alignment) << "line " << i;
        ASSERT_EQ(line.runs.size(), 1U) << "line " << i;
        EXPECT_EQ(line.runs[0].text, expected[i].text) << "line " << i;
        EXPECT_EQ(line.runs[0].size, expected[i].size) << "line " << i;
    }
}

Receipt onlyCut(const std::vector<PrinterEvent>& events) {
    EXPECT_EQ(events.size(), 1U);
    EXPECT_TRUE(!events.empty() && std::holds_alternative<CutReceipt>(events[0]));
    return events.empty() ? Receipt{} : std::get<CutReceipt>(events[0]).receipt;
}

Receipt decodeUncut(const QByteArray& bytes) {
    EscPosDecoder decoder;
    EXPECT_TRUE(decoder.feed(bytes).empty());
    return decoder.takeUncut();
}

constexpr CharacterSize normal{1, 1};
constexpr CharacterSize tall{1, 2};
constexpr CharacterSize wide{2, 1};
constexpr CharacterSize doubled{2, 2};

} // namespace

TEST(EscPosDecoder, SizeAndJustificationHoldUntilChanged) {
    EscPosDecoder decoder;
    const QByteArray bytes = alignCenter + doubleSize + text(QStringLiteral("주문번호 : 57")) +
                             crlf + text(QStringLiteral("호출")) + crlf + alignRight +
                             doubleHeight + "12" + crlf + doubleWidth + alignLeft + "A" + crlf +
                             sizeNormal + QByteArray("\x1b\x61\x01", 3) + "B" + crlf +
                             QByteArray("\x1b\x61\x02", 3) + QByteArray("\x1d\x21\x22", 3) + "C" +
                             crlf + QByteArray("\x1b\x61\x00", 3) + sizeNormal + "D" + crlf + cut;
    expectLines(onlyCut(decoder.feed(bytes)),
                {{Alignment::Center, QStringLiteral("주문번호 : 57"), doubled},
                 {Alignment::Center, QStringLiteral("호출"), doubled},
                 {Alignment::Right, "12", tall},
                 {Alignment::Left, "A", wide},
                 {Alignment::Center, "B", normal},
                 {Alignment::Right, "C", {3, 3}},
                 {Alignment::Left, "D", normal}});
}

TEST(EscPosDecoder, JustificationChangedInsideALineHoldsFromTheNextLine) {
    const Receipt receipt = decodeUncut("AB" + alignCenter + "C" + crlf + "D" + crlf);
    expectLines(receipt, {{Alignment::Left, "ABC", normal}, {Alignment::Center, "D", normal}});
}

TEST(EscPosDecoder, SizeMayChangeInsideALine) {
    const Receipt receipt =
        decodeUncut("  " + doubleHeight + text(QStringLiteral("* 덜 맵게")) + sizeNormal + crlf);
    ASSERT_EQ(receipt.lines.size(), 1U);
    const PaperLine& line = receipt.lines[0];
    ASSERT_EQ(line.runs.size(), 2U);
    EXPECT_EQ(line.runs[0].text, "  ");
    EXPECT_EQ(line.runs[0].size, normal);
    EXPECT_EQ(line.runs[1].text, QStringLiteral("* 덜 맵게"));
    EXPECT_EQ(line.runs[1].size, tall);
    EXPECT_EQ(line.height(), 2);
    EXPECT_EQ(line.columns(), 2 + 9);
}

// The network delivers bytes in pieces that need not end between characters or commands.
TEST(EscPosDecoder, PiecesSplitInsideCharactersAndCommandsJoinUp) {
    const QByteArray bytes =
        alignCenter + doubleSize + text(QStringLiteral("김치찌개")) + crlf + cut;
    ASSERT_EQ(text(QStringLiteral("김")).size(), 2);
    for (qsizetype split = 1; split < bytes.size(); ++split) {
        EscPosDecoder decoder;
        EXPECT_TRUE(decoder.feed(bytes.left(split)).empty()) << "split at " << split;
        expectLines(onlyCut(decoder.feed(bytes.mid(split))),
                    {{Alignment::Center, QStringLiteral("김치찌개"), doubled}});
    }
}

TEST(EscPosDecoder, EveryByteWithoutMeaningShowsAsHex) {
    const QByteArray bytes = QByteArray("\x1b\x40", 2) + "A" + QByteArray("\x1d\x56\x41\x00", 4) +
                             QByteArray("\x07", 1) + QByteArray("\x1b\x61\x05", 3) +
                             QByteArray("\x80\x7f", 2) + QByteArray("\xb0", 1) + crlf;
    expectLines(decodeUncut(bytes),
                {{Alignment::Left, "[1B 40]A[1D 56]A[00][07][1B 61 05][80][7F][B0]", normal}});
}

TEST(EscPosDecoder, ACommandCutOffAtTheEndShowsAsHex) {
    expectLines(decodeUncut("A" + crlf + QByteArray("\x1b\x70\x00", 3)),
                {{Alignment::Left, "A", normal}, {Alignment::Left, "[1B 70 00]", normal}});
}

TEST(EscPosDecoder, DrawerKickIsAnEventAndLeavesNoInk) {
    EscPosDecoder decoder;
    const std::vector<PrinterEvent> events =
        decoder.feed("A" + crlf + cut + QByteArray("\x1b\x70\x00\x19\xfa", 5));
    ASSERT_EQ(events.size(), 2U);
    EXPECT_TRUE(std::holds_alternative<CutReceipt>(events[0]));
    EXPECT_TRUE(std::holds_alternative<DrawerKick>(events[1]));
    EXPECT_TRUE(decoder.takeUncut().lines.empty());
}

TEST(EscPosDecoder, CutsEndReceiptsAndTheRestWaitsForTheNextCut) {
    EscPosDecoder decoder;
    const std::vector<PrinterEvent> events = decoder.feed(
        "A" + crlf + cut + "B" + crlf + QByteArray("\x1b\x6d", 2) + crlf + "C" + crlf + "D");
    ASSERT_EQ(events.size(), 2U);
    expectLines(std::get<CutReceipt>(events[0]).receipt, {{Alignment::Left, "A", normal}});
    expectLines(std::get<CutReceipt>(events[1]).receipt, {{Alignment::Left, "B", normal}});
    expectLines(decoder.takeUncut(), {{Alignment::Left, {}, normal},
                                      {Alignment::Left, "C", normal},
                                      {Alignment::Left, "D", normal}});
    EXPECT_TRUE(decoder.takeUncut().lines.empty());
}

TEST(EscPosDecoder, CarriageReturnsAreIgnoredAndLineFeedsEndLines) {
    expectLines(decodeUncut("A\rB\r\n\r\n\nC\n"), {{Alignment::Left, "AB", normal},
                                                   {Alignment::Left, {}, normal},
                                                   {Alignment::Left, {}, normal},
                                                   {Alignment::Left, "C", normal}});
}

// 48 columns: a character that no longer fits starts the next line, with the justification
// in force.
TEST(EscPosDecoder, LinesWiderThanThePaperWrap) {
    const Receipt receipt = decodeUncut(alignCenter + QByteArray(50, 'x') + crlf + doubleWidth +
                                        text(QStringLiteral("가나다라마바사아자차카타파")) + crlf);
    expectLines(receipt, {{Alignment::Center, QString(48, 'x'), normal},
                          {Alignment::Center, "xx", normal},
                          {Alignment::Center, QStringLiteral("가나다라마바사아자차카타"), wide},
                          {Alignment::Center, QStringLiteral("파"), wide}});
}
