#include "single_instance.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(SingleInstance, OneInstancePerProgramFolderUntilItLetsGo) {
    QTemporaryDir first;
    QTemporaryDir second;
    auto running = std::make_unique<SingleInstance>(first.path());
    SingleInstance again(first.path());
    SingleInstance elsewhere(second.path());
    EXPECT_TRUE(running->acquire());
    EXPECT_FALSE(again.acquire());
    EXPECT_TRUE(elsewhere.acquire());
    running.reset();
    EXPECT_TRUE(again.acquire());
}

TEST(SingleInstance, FolderWithoutRoomForTheLockFileIsAFailureNotASecondInstance) {
    QTemporaryDir parent;
    SingleInstance missing(QDir(parent.path()).filePath(QStringLiteral("missing")));
    EXPECT_THROW(missing.acquire(), std::runtime_error);
}
