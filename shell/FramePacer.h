#pragma once
// Frame pacing, the first action of every pump: a frame starts at most once every
// 2 ms. Time is whole milliseconds in 32-bit unsigned arithmetic, so the pacer
// survives the timer wrapping.
#include <cstdint>
#include <functional>

namespace tamber::shell {

class FramePacer {
public:
    using Clock = std::function<double()>;          // seconds
    using Sleeper = std::function<void(double)>;    // seconds

    FramePacer(Clock clock, Sleeper sleep) : clock_(std::move(clock)), sleep_(std::move(sleep)) {}

    // Returns when the next frame may start.
    void WaitForFrame();

private:
    Clock clock_;
    Sleeper sleep_;
    uint32_t timeBase_ = 0;
    uint32_t counter_ = 0;
};

}  // namespace tamber::shell
