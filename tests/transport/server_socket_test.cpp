#include "server_socket.h"

#include <gtest/gtest.h>

// The terminal's own address (ServerSocket::localIpAddress) is checked where the rig gives the
// terminal one: the program's start notice in tests/app/test_program_start.py names it, and
// names 127.0.0.1 while the terminal has none.
TEST(ServerSocket, APortHeldByOneSocketIsRefusedToTheNext) {
    ServerSocket first;
    ServerSocket second;
    ASSERT_NO_THROW(first.listen(12000));
    EXPECT_THROW(second.listen(12000), std::runtime_error);
}
