#include "app/ProgressThrottle.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

constexpr std::uint64_t kStart = 1'000'000;  // a tick count well after boot

TEST(ProgressThrottle, FirstUpdateAlwaysShows) {
    ProgressThrottle throttle;
    EXPECT_EQ(throttle.Update(1, 3, kStart), 33u);
    throttle.Reset();
    EXPECT_EQ(throttle.Update(1, 3, kStart + 1), 33u);
}

TEST(ProgressThrottle, PercentIsCappedAndTotalZeroIsComplete) {
    ProgressThrottle throttle;
    EXPECT_EQ(throttle.Update(0, 0, kStart), 100u);
    throttle.Reset();
    EXPECT_EQ(throttle.Update(7, 5, kStart), 100u);
    throttle.Reset();
    const std::size_t terabytes = std::size_t{10} << 40;
    EXPECT_EQ(throttle.Update(terabytes / 2, terabytes, kStart), 50u);
}

TEST(ProgressThrottle, MovingPercentRedrawsAtMostEvery50Ms) {
    ProgressThrottle throttle;
    ASSERT_TRUE(throttle.Update(10, 100, kStart));
    EXPECT_FALSE(throttle.Update(11, 100, kStart + 49));
    EXPECT_EQ(throttle.Update(12, 100, kStart + 50), 12u);
}

TEST(ProgressThrottle, StandingPercentRedrawsAtMostEvery100Ms) {
    ProgressThrottle throttle;
    ASSERT_TRUE(throttle.Update(60, 100, kStart));
    EXPECT_FALSE(throttle.Update(60, 100, kStart + 60));
    EXPECT_FALSE(throttle.Update(60, 100, kStart + 99));
    EXPECT_EQ(throttle.Update(60, 100, kStart + 100), 60u);
}

TEST(ProgressThrottle, StartAndEndPassTheFiftyMillisecondRule) {
    ProgressThrottle throttle;
    ASSERT_TRUE(throttle.Update(50, 100, kStart));
    EXPECT_EQ(throttle.Update(100, 100, kStart + 1), 100u);
    EXPECT_FALSE(throttle.Update(100, 100, kStart + 2));  // same value within 100 ms
    EXPECT_EQ(throttle.Update(0, 100, kStart + 3), 0u);
}

TEST(ProgressThrottle, TextIsLabelSpacePercent) {
    EXPECT_EQ(FormatProgressText(u"Saving...", 42), u"Saving... 42%");
    EXPECT_EQ(FormatProgressText(u"", 100), u" 100%");
}

}  // namespace
}  // namespace tvx
