#pragma once
// The message log: named channels of text that background work (the Codex, batch
// tools, importers) reports to. Channel names compare without regard to case and
// keep the spelling of their first write. The log viewer window listens for
// appends; without it the text is only stored.
#include <cstdarg>
#include <functional>
#include <string>
#include <vector>

namespace tamber::base {

class MessageLog {
public:
    struct Channel {
        std::string name;
        std::string text;
    };
    // Called after every append with the channel, the appended text and the level.
    using Listener = std::function<void(const Channel& channel, const std::string& appended, int show)>;

    static MessageLog& Instance();

    void Append(int show, const std::string& channel, const std::string& text);
    const Channel* Find(const std::string& channel) const;
    const std::vector<Channel>& Channels() const { return channels_; }
    void SetListener(Listener listener) { listener_ = std::move(listener); }
    // Forgets every channel (tests only; the program never removes channels).
    void Clear() { channels_.clear(); }

private:
    std::vector<Channel> channels_;
    Listener listener_;
};

// Formats into a 4096-byte buffer (longer text is cut) and appends it unchanged to
// the channel. A level of 1 or more also asks the viewer to show the channel.
void LogMessage(int show, const char* channel, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void LogMessageV(int show, const char* channel, const char* format, va_list args);

}  // namespace tamber::base
