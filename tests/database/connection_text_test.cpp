#include "connection_text.h"
#include "key_value_line.h"
#include "sql_text.h"

#include <gtest/gtest.h>

TEST(ConnectionText, CarriesServerCommaPortAndLoginInTheDriversOrder) {
    EXPECT_EQ(connectionText(QStringLiteral("pos-db"), QStringLiteral("1433"),
                             QStringLiteral("젤노포스식음"), QStringLiteral("sa"),
                             QStringLiteral("vextrolam")),
              QStringLiteral("DRIVER={SQL Server};SERVER=pos-db,1433;DATABASE=젤노포스식음;"
                             "UID=sa;PWD=vextrolam;"));
}

TEST(KeyValueLine, ValueIsWhatFollowsTheFirstEqualsSignWithoutOuterBlanks) {
    EXPECT_EQ(valueOfLine(QStringLiteral("매장코드=  A 001  ")), QStringLiteral("A 001"));
    EXPECT_EQ(valueOfLine(QStringLiteral("SERVER=a=b ")), QStringLiteral("a=b"));
    EXPECT_EQ(valueOfLine(QStringLiteral("  no key here ")), QStringLiteral("no key here"));
    EXPECT_EQ(valueOfLine(QStringLiteral("key=\tvalue")), QStringLiteral("\tvalue"));
    EXPECT_EQ(valueOfLine(QStringLiteral("key=")), QString());
}

TEST(QuotedValue, DoublesQuotesSoAValueCannotEndTheLiteral) {
    EXPECT_EQ(quotedValue(QStringLiteral("A001")), QStringLiteral("A001"));
    EXPECT_EQ(quotedValue(QStringLiteral("A' or '1'='1")), QStringLiteral("A'' or ''1''=''1"));
}
