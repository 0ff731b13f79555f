#pragma once

namespace tamber::shell {

// The start-up log, tamber_log.txt in the working folder: one line per start-up
// and shutdown step, flushed at once, so a failed installation shows how far
// start-up got. The first call creates the file (replacing an earlier log); when
// it cannot be created the program shows a fatal box and ends with exit code -1.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tamber::shell
