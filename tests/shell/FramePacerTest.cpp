#include "shell/FramePacer.h"

#include <gtest/gtest.h>

using namespace tamber::shell;

TEST(FramePacer, StartsAFrameAtMostEveryTwoMilliseconds) {
    double now = 5.0;
    int sleeps = 0;
    FramePacer pacer([&] { return now; }, [&](double seconds) {
        now += seconds;
        ++sleeps;
    });
    pacer.WaitForFrame();  // the first frame after start goes at once
    EXPECT_EQ(sleeps, 0);
    int frames = 0;
    double end = now + 1.0;
    while (now < end) {
        pacer.WaitForFrame();
        ++frames;
        now += 0.0001;  // frames that take almost no time
    }
    EXPECT_GE(frames, 300);
    EXPECT_LE(frames, 501);

    // A slow frame (5 ms) never waits.
    sleeps = 0;
    for (int i = 0; i < 10; ++i) {
        now += 0.005;
        pacer.WaitForFrame();
    }
    EXPECT_EQ(sleeps, 0);

    // The millisecond counter wraps at 32 bits without stalling.
    now = 4294967.294;
    pacer.WaitForFrame();
    now = 4294967.299;
    sleeps = 0;
    pacer.WaitForFrame();
    EXPECT_EQ(sleeps, 0);
}
