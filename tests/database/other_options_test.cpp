#include "other_options.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Option text of `count` lines "optionN=N", with chosen lines replaced.
QString optionLines(int count, const QMap<int, QString>& replaced = {}) {
    QStringList lines;
    for (int line = 1; line <= count; ++line) {
        lines << replaced.value(line, QStringLiteral("option%1=%1").arg(line));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

TEST(OtherOptions, FortyLinesFillTheFirstFortySlotsOnly) {
    OtherOptions options;
    EXPECT_FALSE(options.load(optionLines(40)));
    EXPECT_EQ(options.slot(11), QVariant(qint16(12)));
    EXPECT_EQ(options.text(OtherOptions::sqlPortSlot), QStringLiteral("37"));
    EXPECT_EQ(options.text(39), QStringLiteral("40"));
    EXPECT_FALSE(options.slot(40).isValid());
    EXPECT_TRUE(options.text(OtherOptions::option72Slot).isEmpty());
}

TEST(OtherOptions, TextWithoutCrLfChangesNothing) {
    OtherOptions options;
    EXPECT_FALSE(options.load(QStringLiteral("option1=1")));
    EXPECT_FALSE(
        options.load(optionLines(79).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    for (int slot = 0; slot < OtherOptions::slotCount; ++slot) {
        EXPECT_FALSE(options.slot(slot).isValid()) << "slot " << slot;
    }
}

TEST(OtherOptions, OutOfRangeValueStopsTheLoadingThere) {
    OtherOptions options;
    const std::optional<QString> failure =
        options.load(optionLines(79, {{12, QStringLiteral("line12=70000")}}));
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains(QStringLiteral("70000")));
    EXPECT_EQ(options.text(10), QStringLiteral("11"));
    for (int slot = 11; slot < OtherOptions::slotCount; ++slot) {
        EXPECT_FALSE(options.slot(slot).isValid()) << "slot " << slot;
    }
}

TEST(OtherOptions, UnreadableValuesLeaveTheirSlotAndLoadingGoesOn) {
    OtherOptions options;
    EXPECT_FALSE(options.load(optionLines(79, {{1, QStringLiteral("yes=maybe")},
                                               {12, QStringLiteral("count=")},
                                               {56, QStringLiteral("rate=abc")}})));
    EXPECT_FALSE(options.slot(0).isValid());
    EXPECT_FALSE(options.slot(11).isValid());
    EXPECT_FALSE(options.slot(55).isValid());
    EXPECT_EQ(options.slot(4), QVariant(true));
    EXPECT_EQ(options.slot(13), QVariant(qint32(14)));
    EXPECT_EQ(options.slot(65), QVariant(66.0));
    EXPECT_EQ(options.text(78), QStringLiteral("79"));
}

TEST(OtherOptions, SqlPortAndOption72AreTrimmedTexts) {
    OtherOptions options;
    EXPECT_FALSE(options.load(optionLines(
        79, {{37, QStringLiteral("  1444  ")}, {72, QStringLiteral("option72=  1 ")}})));
    EXPECT_EQ(options.text(OtherOptions::sqlPortSlot), QStringLiteral("1444"));
    EXPECT_EQ(options.text(OtherOptions::option72Slot), QStringLiteral("1"));
}
