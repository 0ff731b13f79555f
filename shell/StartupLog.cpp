#include "shell/StartupLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/Os.h"

namespace tamber::shell {
using namespace tamber::platform;

namespace {
std::FILE* logFile = nullptr;
}

void Log(const char* format, ...) {
    if (!logFile) {
        logFile = std::fopen("tamber_log.txt", "w");
        if (!logFile) {
            OsShowFatalBox("FATAL ERROR", "Couldn't open tamber_log.txt for writing. Press OK to quit.");
            std::exit(-1);
        }
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(logFile, format, args);
    va_end(args);
    std::fputc('\n', logFile);
    std::fflush(logFile);
}

}  // namespace tamber::shell
