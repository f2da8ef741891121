#include "server_socket.h"

#include <QHostAddress>
#include <gtest/gtest.h>

TEST(ServerSocket, APortHeldByOneSocketIsRefusedToTheNext) {
    ServerSocket first;
    ServerSocket second;
    ASSERT_NO_THROW(first.listen(12000));
    EXPECT_THROW(second.listen(12000), std::runtime_error);
}

TEST(ServerSocket, LocalAddressIsADottedIpv4Address) {
    const QHostAddress address(ServerSocket::localIpAddress());
    EXPECT_EQ(address.protocol(), QAbstractSocket::IPv4Protocol);
}
