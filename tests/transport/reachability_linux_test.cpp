#include "reachability.h"
#include "test_rig.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

const QString pingGroupRange = QStringLiteral("/proc/sys/net/ipv4/ping_group_range");

QByteArray pingGroups() {
    QFile setting(pingGroupRange);
    EXPECT_TRUE(setting.open(QIODevice::ReadOnly)) << setting.errorString().toStdString();
    return setting.readAll();
}

void setPingGroups(const QByteArray& groups) {
    QFile setting(pingGroupRange);
    EXPECT_TRUE(setting.open(QIODevice::WriteOnly) && setting.write(groups) == groups.size())
        << setting.errorString().toStdString();
}

// Which groups may open ping sockets in the rig's namespace, for the life of the object.
struct PingSockets {
    explicit PingSockets(const QByteArray& groups) { setPingGroups(groups); }
    ~PingSockets() { setPingGroups(saved); }
    const QByteArray saved = pingGroups();
};

// A listener whose queue is full with a connection it never accepts: the system drops further
// connection requests unanswered.
struct SilentPort {
    SilentPort() {
        server.setListenBacklogSize(0);
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost));
        server.pauseAccepting();
        queued.connectToHost(QHostAddress::LocalHost, server.serverPort());
        EXPECT_TRUE(queued.waitForConnected(1000));
    }
    QTcpServer server;
    QTcpSocket queued;
};

class ReachabilityTest : public testing::Test {
protected:
    // Only the rig's own network namespace may have its ping sockets changed.
    void SetUp() override {
        const QString machines = qEnvironmentVariable("KPS_TEST_NETNS");
        REQUIRE_OR_SKIP(test_rig::isActive() && !machines.isEmpty() &&
                            QFile::symLinkTarget(QStringLiteral("/proc/self/ns/net")) != machines,
                        "needs the test rig's own network namespace");
    }

    static std::uint32_t statusOf(const std::string& host, quint16 port) {
        icmp_echo::EchoReply reply;
        const std::int32_t result = pingHost(host, reply, port);
        EXPECT_EQ(result < 0 ? -result : 0, static_cast<std::int32_t>(reply.status));
        return reply.status;
    }
};

} // namespace

// Debian's own setting: no group may open ping sockets.
TEST_F(ReachabilityTest, WithoutPingSocketsTheDatabasePortDecides) {
    const PingSockets refused("1 0");
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
    EXPECT_EQ(statusOf("127.0.0.1", listening.serverPort()), 0u);
    const quint16 closed = listening.serverPort();
    listening.close();
    EXPECT_EQ(statusOf("127.0.0.1", closed), 0u);
    const SilentPort silent;
    EXPECT_EQ(statusOf("127.0.0.1", silent.server.serverPort()), icmp_echo::statusTimedOut);
    // The rig routes 0.0.0.0/8 nowhere.
    EXPECT_EQ(statusOf("0.0.5.153", defaultDatabasePort), icmp_echo::statusDestinationUnreachable);
}

TEST_F(ReachabilityTest, WithPingSocketsTheEchoDecides) {
    const PingSockets allowed("0 2147483647");
    const SilentPort silent;
    EXPECT_EQ(statusOf("127.0.0.1", silent.server.serverPort()), 0u);
    EXPECT_EQ(statusOf("0.0.5.153", defaultDatabasePort), icmp_echo::statusDestinationUnreachable);
}
