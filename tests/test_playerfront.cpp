// The request that brings a running player to the front, over its local socket.
#include "platform/PlayerFront.h"

#include "SpinEventLoop.h"

#include <gtest/gtest.h>

namespace lodgeview {
namespace {

using test::SpinUntil;

TEST(PlayerFront, RequestReachesTheListeningPlayerOnly)
{
    EXPECT_FALSE(RequestPlayerToFront(200)) << "no player listens yet";

    int requests = 0;
    PlayerFrontListener player([&] { ++requests; });
    ASSERT_TRUE(player.Listen());
    EXPECT_TRUE(RequestPlayerToFront());
    EXPECT_TRUE(SpinUntil([&] { return requests == 1; }));

    // A second player finds the first one listening and does not take over its socket.
    int secondRequests = 0;
    PlayerFrontListener second([&] { ++secondRequests; });
    EXPECT_FALSE(second.Listen());
    EXPECT_TRUE(SpinUntil([&] { return requests == 2; }));
    EXPECT_EQ(secondRequests, 0);
}

} // namespace
} // namespace lodgeview
