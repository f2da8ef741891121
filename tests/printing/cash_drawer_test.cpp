#include "cash_drawer.h"

#include <gtest/gtest.h>

TEST(DrawerKickBytes, EveryThreeDigitsAreOneByte) {
    EXPECT_EQ(drawerKickBytes(QStringLiteral("027112000025250")),
              QByteArray("\x1b\x70\x00\x19\xfa", 5));
    EXPECT_EQ(drawerKickBytes(QString()), QByteArray());
    EXPECT_EQ(drawerKickBytes(QStringLiteral("02711")), QByteArray("\x1b\x0b", 2));
}

TEST(DrawerKickBytes, GroupsThatAreNoByteAreErrors) {
    EXPECT_THROW(drawerKickBytes(QStringLiteral("027256")), std::invalid_argument);
    EXPECT_THROW(drawerKickBytes(QStringLiteral("02a")), std::invalid_argument);
}
