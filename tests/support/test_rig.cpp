#include "test_rig.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace test_rig {

namespace {

QString rigScript() {
    return qEnvironmentVariable("KPS_SOURCE_DIR") + QStringLiteral("/scripts/test-db.sh");
}

void runRig(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral("bash"), QStringList{rigScript()} + arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

} // namespace

bool isActive() {
    return qEnvironmentVariable("KPS_TEST_RIG") == QLatin1String("1");
}

bool missingPartsFail() {
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

void runSql(const QString& sql) {
    runRig({QStringLiteral("psql"), QStringLiteral("-q")}, sql.toUtf8());
}

void stopDatabase() {
    runRig({QStringLiteral("stop")});
}

void startDatabase() {
    runRig({QStringLiteral("start")});
}

} // namespace test_rig
