#pragma once

namespace tamber::shell {

// The program: start-up in its fixed order with one start-up log line per step,
// the main loop, and shutdown in reverse. Returns the process exit code.
int TamberMain();

}  // namespace tamber::shell
