#include "single_instance.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A copy that cannot create the lock file holds the folder itself, and keeps out a copy that
// can create it later, as well as one that cannot.
TEST(SingleInstance, CopyWithoutTheLockFileKeepsEveryOtherOut) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(lockFileName));
    SingleInstance withoutFile(folder.path());
    SingleInstance alsoWithoutFile(folder.path());
    EXPECT_TRUE(withoutFile.acquire());
    EXPECT_FALSE(alsoWithoutFile.acquire());
    ASSERT_TRUE(QDir(folder.path()).rmdir(lockFileName));
    SingleInstance withFile(folder.path());
    EXPECT_FALSE(withFile.acquire());
}
