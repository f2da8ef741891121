#pragma once

#include <QString>
#include <QStringList>

// The test rig: a private network namespace with a throwaway PostgreSQL that answers to the
// program's "SQL Server" connection text (scripts/with-test-network.sh).
namespace test_rig {

bool isActive();
// Under CI (CI=true) the rig, the display and the drivers must all be there: a test that would
// skip for want of one fails instead, so that a CI run cannot pass by skipping.
bool missingPartsFail();
// Runs SQL as the database owner; fails the current test when psql fails.
void runSql(const QString& sql);
void stopDatabase();
void startDatabase();

} // namespace test_rig

// Skips the current test when something it needs is missing; fails it instead under CI.
#define REQUIRE_OR_SKIP(available, what)                                                           \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (test_rig::missingPartsFail()) {                                                    \
                FAIL() << what;                                                                    \
            }                                                                                      \
            GTEST_SKIP() << what;                                                                  \
        }                                                                                          \
    } while (false)

// Database and network tests never run outside the rig.
#define REQUIRE_TEST_RIG()                                                                         \
    REQUIRE_OR_SKIP(test_rig::isActive(), "needs the test rig (scripts/with-test-network.sh)")
