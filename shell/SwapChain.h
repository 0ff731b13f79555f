#pragma once

namespace tamber::shell {

// Measures after how many buffer swaps a pixel drawn into the back buffer is seen
// again (1, 2 or 3), by drawing a pixel of a colour taken from the clock.
int DetermineSwapChainLength();

}  // namespace tamber::shell
