#include <gtest/gtest.h>

#include "graphics/AnimationInfo.h"

namespace Lumo {

TEST(AnimationInfoTest, LoopMapsEveryCelWithPaddedDelays)
{
    AnimationInfo info;
    info.mAnimType = ANIMATION_LOOP;
    info.mFrameDelay = 10;
    info.mPerFrameDelay = {30};
    info.Prepare(4, 5, 7);
    EXPECT_EQ(info.mFrameMap, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(info.mPerFrameDelay, (std::vector<int>{35, 10, 10, 17}));
    EXPECT_EQ(info.GetFrameCount(), 4);
    EXPECT_EQ(info.GetTotalTime(), 72);
    EXPECT_EQ(info.GetCel(0), 0);
    EXPECT_EQ(info.GetCel(35), 1);
    EXPECT_EQ(info.GetCel(55), 3);
    EXPECT_EQ(info.GetCel(72), 0); // loops
}

TEST(AnimationInfoTest, PingPongGoesBackWithoutRepeatingTheEnds)
{
    AnimationInfo info;
    info.mAnimType = ANIMATION_PING_PONG;
    info.mFrameDelay = 10;
    info.Prepare(4, 0, 100);
    EXPECT_EQ(info.mFrameMap, (std::vector<int>{0, 1, 2, 3, 2, 1}));
    // The end delay sits on the turning point.
    EXPECT_EQ(info.mPerFrameDelay, (std::vector<int>{10, 10, 10, 110, 10, 10}));
    EXPECT_EQ(info.GetCel(135), 3);
    EXPECT_EQ(info.GetCel(140), 2);
    EXPECT_EQ(info.GetCel(155), 1);
}

TEST(AnimationInfoTest, OnceStopsOnTheLastFrameAndGivenMapIsKept)
{
    AnimationInfo info;
    info.mAnimType = ANIMATION_ONCE;
    info.mFrameDelay = 10;
    info.mFrameMap = {2, 9, 0, -1, 1};
    info.Prepare(3);
    EXPECT_EQ(info.mFrameMap, (std::vector<int>{2, 0, 1})); // out-of-range cels dropped
    EXPECT_EQ(info.GetCel(5), 2);
    EXPECT_EQ(info.GetCel(1000), 1);
}

TEST(AnimationInfoTest, NoneAndEmptyShowCelZero)
{
    AnimationInfo none;
    none.Prepare(5);
    EXPECT_EQ(none.GetCel(123), 0);
    AnimationInfo empty;
    empty.mAnimType = ANIMATION_LOOP;
    empty.Prepare(0);
    EXPECT_EQ(empty.GetFrameCount(), 0);
    EXPECT_EQ(empty.GetCel(50), 0);
}

} // namespace Lumo
