#include "shell/FramePacer.h"

namespace tamber::shell {

void FramePacer::WaitForFrame() {
    for (;;) {
        uint32_t now = uint32_t(uint64_t(clock_() * 1000.0));
        uint32_t elapsed = now - timeBase_;
        if (elapsed > 1) {
            timeBase_ = now;
            counter_ = 1;
            return;
        }
        if (counter_ <= elapsed * 60 / 1000) {
            ++counter_;
            return;
        }
        sleep_(0.001);
    }
}

}  // namespace tamber::shell
