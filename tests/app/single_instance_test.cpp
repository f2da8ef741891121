#include "single_instance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SingleInstance, OneInstancePerProgramFolder) {
    QTemporaryDir first;
    QTemporaryDir second;
    SingleInstance running(first.path());
    SingleInstance again(first.path());
    SingleInstance elsewhere(second.path());
    EXPECT_TRUE(running.acquire());
    EXPECT_FALSE(again.acquire());
    EXPECT_TRUE(elsewhere.acquire());
}
