#include "driver_environment.h"
#include "pos_database.h"
#include "test_rig.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <atomic>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// On Linux the "SQL Server" driver of a real store is FreeTDS. These tests register it under
// that name and aim the program's connection text at a silent listener on 127.0.0.1:1433.
namespace {

constexpr unsigned char tdsPreLogin = 0x12;

// Accepts one connection, keeps its first byte and never answers.
class SilentSqlServer {
public:
    SilentSqlServer() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        const int reuse = 1;
        setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(1433);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        listening_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     listen(fd_, 4) == 0;
        thread_ = std::thread([this] { serve(); });
    }

    ~SilentSqlServer() {
        stop_ = true;
        thread_.join();
        close(fd_);
    }

    bool isListening() const { return listening_; }
    int firstByte() const { return firstByte_; }

private:
    void serve() {
        int client = -1;
        while (!stop_) {
            pollfd waiting{client < 0 ? fd_ : client, POLLIN, 0};
            if (poll(&waiting, 1, 50) <= 0) {
                continue;
            }
            if (client < 0) {
                client = accept(fd_, nullptr, nullptr);
            } else if (firstByte_ < 0) {
                unsigned char byte = 0;
                firstByte_ = recv(client, &byte, 1, 0) == 1 ? byte : -1;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        if (client >= 0) {
            close(client);
        }
    }

    int fd_ = -1;
    bool listening_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<int> firstByte_{-1};
    std::thread thread_;
};

class FreeTdsConnectionTest : public testing::Test {
protected:
    void SetUp() override {
        REQUIRE_TEST_RIG();
        // The rig finds the driver through the tdsodbc package's own file list.
        const QString driver = qEnvironmentVariable("KPS_TEST_FREETDS_DRIVER");
        REQUIRE_OR_SKIP(QFile::exists(driver), "FreeTDS (tdsodbc) is not installed");
        QFile odbcinst(QDir(drivers_.path()).filePath(QStringLiteral("odbcinst.ini")));
        ASSERT_TRUE(odbcinst.open(QIODevice::WriteOnly));
        odbcinst.write(QStringLiteral("[SQL Server]\nDriver=%1\n").arg(driver).toUtf8());
        odbcinst.close();
        qputenv("ODBCSYSINI", drivers_.path().toUtf8());
        qunsetenv("TDSVER");
        prepareDriverEnvironment();
    }

    QTemporaryDir drivers_;
};

TEST_F(FreeTdsConnectionTest, ConnectionTextReachesPort1433AndASilentServerEndsTheAttempt) {
    SilentSqlServer server;
    ASSERT_TRUE(server.isListening());
    QStringList messages;
    PosDatabase database(
        StoreIdentity{QStringLiteral("S001"), QStringLiteral("01"), QStringLiteral("127.0.0.1")},
        [&messages](const QString& text) { messages << text; });
    EXPECT_FALSE(database.connectDatabase());
    EXPECT_EQ(server.firstByte(), tdsPreLogin);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(qgetenv("TDSVER"), QByteArray("7.4"));
}

} // namespace
