#include "value_conversion.h"

#include <gtest/gtest.h>

namespace {
const QString what = QStringLiteral("값");
}

TEST(ValueConversion, WholeNumbersRoundHalfToEven) {
    EXPECT_EQ(toInt16(QStringLiteral("2.5"), what), 2);
    EXPECT_EQ(toInt16(QStringLiteral("3.5"), what), 4);
    EXPECT_EQ(toInt16(QStringLiteral("-2.5"), what), -2);
    EXPECT_EQ(toInt16(QVariant(250), what), 250);
    EXPECT_EQ(toInt32(QStringLiteral(" 70000 "), what), 70000);
}

TEST(ValueConversion, OutOfRangeIsAnOverflow) {
    try {
        toInt16(QStringLiteral("70000"), what);
        FAIL() << "70000 fits no 16-bit integer";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.kind(), ConversionError::Kind::Overflow);
        EXPECT_TRUE(error.description().contains(QStringLiteral("70000")));
    }
    EXPECT_THROW(toInt32(QStringLiteral("3e9"), what), ConversionError);
}

TEST(ValueConversion, NullEmptyAndLettersAreTypeMismatches) {
    for (const QVariant& value :
         {QVariant(), QVariant(QString()), QVariant(QStringLiteral("x1"))}) {
        try {
            toInt16(value, what);
            FAIL() << "no number in " << value.toString().toStdString();
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.kind(), ConversionError::Kind::TypeMismatch);
        }
    }
}

TEST(ValueConversion, YesNoTakesWordsAndNumbers) {
    EXPECT_TRUE(toYesNo(QStringLiteral("1"), what));
    EXPECT_TRUE(toYesNo(QStringLiteral("true"), what));
    EXPECT_FALSE(toYesNo(QStringLiteral("0"), what));
    EXPECT_FALSE(toYesNo(QStringLiteral("False"), what));
    EXPECT_THROW(toYesNo(QStringLiteral("예"), what), ConversionError);
}
