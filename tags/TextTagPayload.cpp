#include "tags/TextTagPayload.h"

#include <sys/types.h>

#include <algorithm>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "tags/FourCC.h"

namespace tamber::tags {
using namespace tamber::platform;

namespace {

void SetReason(std::string* reason, const char* text) {
    if (reason) *reason = text;
}

}  // namespace

const std::vector<uint32_t>& TextTagGroups() {
    static const std::vector<uint32_t> groups{FourCC("ditl"), FourCC("scri"), FourCC("stli"), FourCC("temp"),
                                              FourCC("text")};
    return groups;
}

bool IsTextTagGroup(uint32_t group) {
    const std::vector<uint32_t>& groups = TextTagGroups();
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

bool IsStringListGroup(uint32_t group) { return group == FourCC("stli") || group == FourCC("temp"); }

std::optional<std::string> TextFromPayload(uint32_t group, std::span<const uint8_t> payload, std::string* reason) {
    const auto* bytes = reinterpret_cast<const char*>(payload.data());
    if (!IsStringListGroup(group)) {
        const auto nul = std::find(payload.begin(), payload.end(), uint8_t(0));
        if (std::any_of(nul, payload.end(), [](uint8_t c) { return c != 0; })) {
            SetReason(reason, "text continues after a NUL byte");
            return std::nullopt;
        }
        return std::string(bytes, size_t(nul - payload.begin()));
    }
    std::string text;
    size_t start = 0;
    for (size_t i = 0; i <= payload.size(); ++i) {
        const bool ends = i == payload.size() || payload[i] == 0 || payload[i] == '\n' || payload[i] == '\r';
        if (!ends) continue;
        if (i > start) text.append(bytes + start, i - start).push_back('\n');
        start = i + 1;
    }
    return text;
}

std::string PayloadFromText(const std::string& text) {
    std::string payload = text;
    std::replace(payload.begin(), payload.end(), '\n', '\r');
    return payload;
}

std::optional<std::string> ReadTextTagPayload(FILE* stream, const TagHeader& header, std::string* reason) {
    // The size comes from the file: check it against the bytes really there before allocating.
    const int64_t fileSize = stream ? FileSizeOf(stream) : -1;
    if (fileSize < 0 || int64_t(header.offset) + int64_t(header.size) > fileSize ||
        ::fseeko(stream, off_t(header.offset), SEEK_SET) != 0) {
        SetReason(reason, "the payload is cut short");
        return std::nullopt;
    }
    std::vector<uint8_t> payload(header.size);
    if (std::fread(payload.data(), 1, payload.size(), stream) != payload.size()) {
        SetReason(reason, "the payload is cut short");
        return std::nullopt;
    }
    return TextFromPayload(header.group, payload, reason);
}

bool WriteTextTagPayload(FILE* stream, const std::string& text) {
    if (text.empty()) return true;
    const std::string payload = PayloadFromText(text);
    return stream && std::fwrite(payload.data(), 1, payload.size(), stream) == payload.size();
}

}  // namespace tamber::tags
