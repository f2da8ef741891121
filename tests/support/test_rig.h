#pragma once

#include <QString>
#include <QStringList>

// The test rig: a private network namespace with a throwaway PostgreSQL that answers to the
// program's "SQL Server" connection text (scripts/with-test-network.sh).
namespace test_rig {

bool isActive();
// Runs SQL as the database owner; fails the current test when psql fails.
void runSql(const QString& sql);
void stopDatabase();
void startDatabase();

} // namespace test_rig

// Skips the current test outside the rig: database and network tests never run elsewhere.
#define REQUIRE_TEST_RIG()                                                                         \
    do {                                                                                           \
        if (!test_rig::isActive()) {                                                               \
            GTEST_SKIP() << "needs the test rig (scripts/with-test-network.sh)";                   \
        }                                                                                          \
    } while (false)
