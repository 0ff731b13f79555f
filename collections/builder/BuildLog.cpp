#include "collections/builder/BuildLog.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace tamber::collections::builder {

void BuildLog::Line(int level, const char* format, ...) const {
    if (!sink_) return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::vector<char> text(size_t(length > 0 ? length : 0) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    sink_(level, std::string(text.data(), size_t(length > 0 ? length : 0)));
}

}  // namespace tamber::collections::builder
