#pragma once
// Where a collection build reports: one call per log line with its level (0
// information, 1 errors and warnings), and the progress of its long steps. The
// desktop program sends the lines to a message-log channel, the command line to
// standard error.
#include <cstddef>
#include <functional>
#include <string>

namespace tamber::collections::builder {

class BuildLog {
public:
    using Sink = std::function<void(int level, const std::string& text)>;
    using Progress = std::function<void(const std::string& what, size_t done, size_t total)>;

    BuildLog() = default;
    explicit BuildLog(Sink sink, Progress progress = nullptr)
        : sink_(std::move(sink)), progress_(std::move(progress)) {}

    // Formats like printf; the text is passed on unchanged (it carries its own "\n").
    void Line(int level, const char* format, ...) const __attribute__((format(printf, 3, 4)));
    void Step(const std::string& what, size_t done, size_t total) const {
        if (progress_) progress_(what, done, total);
    }

private:
    Sink sink_;
    Progress progress_;
};

}  // namespace tamber::collections::builder
