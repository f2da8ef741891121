#include "reachability.h"
#include "test_rig.h"

#include <gtest/gtest.h>

namespace {

std::array<int, 4> bytesOf(std::int32_t address) {
    const auto value = static_cast<std::uint32_t>(address);
    return {int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF),
            int(value >> 24)};
}

} // namespace

TEST(DottedToAddress, PutsTheFirstOctetInTheLowestByte) {
    EXPECT_EQ(bytesOf(dottedToAddress("192.168.0.10")), (std::array<int, 4>{192, 168, 0, 10}));
    EXPECT_EQ(bytesOf(dottedToAddress("127.0.0.1")), (std::array<int, 4>{127, 0, 0, 1}));
}

TEST(DottedToAddress, TakesEachPartModulo256) {
    EXPECT_EQ(bytesOf(dottedToAddress("300.1.2.3")), (std::array<int, 4>{44, 1, 2, 3}));
}

TEST(DottedToAddress, OtherShapesGiveZeroOrAnError) {
    EXPECT_EQ(dottedToAddress("dbserver"), 0);
    EXPECT_EQ(dottedToAddress("10.1.2"), 0);
    EXPECT_THROW(dottedToAddress("10.1.2.3.4"), std::out_of_range);
    EXPECT_THROW(dottedToAddress("10.1.x.3"), std::invalid_argument);
    EXPECT_THROW(dottedToAddress("10..2.3"), std::invalid_argument);
}

TEST(PingHost, LoopbackAnswersAndIsReachable) {
    REQUIRE_TEST_RIG();
    icmp_echo::EchoReply reply;
    EXPECT_GE(pingHost("127.0.0.1", reply), 0);
    EXPECT_EQ(reply.status, 0u);
}

TEST(PingHost, HostNamesAreResolvedBeforeTheEcho) {
    REQUIRE_TEST_RIG();
    icmp_echo::EchoReply reply;
    EXPECT_GE(pingHost("localhost", reply), 0);
    EXPECT_LT(pingHost("no-such-host.invalid", reply), 0);
}

// The rig routes 0.0.0.0/8 nowhere, as a host that cannot be reached.
TEST(PingHost, UnreachableHostGivesMinusItsStatus) {
    REQUIRE_TEST_RIG();
    icmp_echo::EchoReply reply;
    const std::int32_t result = pingHost("0.0.5.153", reply);
    EXPECT_LT(result, 0);
    EXPECT_EQ(result, -static_cast<std::int32_t>(reply.status));
}

TEST(PingHost, FiveDottedPartsAreAnErrorForTheCaller) {
    icmp_echo::EchoReply reply;
    EXPECT_THROW(pingHost("10.1.2.3.4", reply), std::out_of_range);
}
