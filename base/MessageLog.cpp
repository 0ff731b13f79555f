#include "base/MessageLog.h"

#include <cstdio>
#include <strings.h>

namespace tamber::base {

MessageLog& MessageLog::Instance() {
    static MessageLog log;
    return log;
}

const MessageLog::Channel* MessageLog::Find(const std::string& channel) const {
    for (const Channel& c : channels_) {
        if (strcasecmp(c.name.c_str(), channel.c_str()) == 0) return &c;
    }
    return nullptr;
}

void MessageLog::Append(int show, const std::string& channel, const std::string& text) {
    Channel* target = const_cast<Channel*>(Find(channel));
    if (!target) {
        channels_.push_back({channel, {}});
        target = &channels_.back();
    }
    target->text += text;
    if (listener_) listener_(*target, text, show);
}

void LogMessageV(int show, const char* channel, const char* format, va_list args) {
    char buffer[4096];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    MessageLog::Instance().Append(show, channel ? channel : "", buffer);
}

void LogMessage(int show, const char* channel, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogMessageV(show, channel, format, args);
    va_end(args);
}

}  // namespace tamber::base
