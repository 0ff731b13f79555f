#include "tags/TextTagPayload.h"

#include <algorithm>
#include <vector>

#include "tags/FourCC.h"
#include "tags/LooseTagFile.h"

namespace tamber::tags {

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

TextTagText TextFromPayload(uint32_t group, std::span<const uint8_t> payload) {
    const auto* bytes = reinterpret_cast<const char*>(payload.data());
    if (!IsStringListGroup(group)) {
        const size_t end = size_t(std::find(payload.begin(), payload.end(), uint8_t(0)) - payload.begin());
        return {std::string(bytes, end), std::string(bytes + end, payload.size() - end)};
    }
    TextTagText result;
    size_t start = 0;
    for (size_t i = 0; i <= payload.size(); ++i) {
        const bool ends = i == payload.size() || payload[i] == 0 || payload[i] == '\n' || payload[i] == '\r';
        if (!ends) continue;
        if (i > start) result.text.append(bytes + start, i - start).push_back('\n');
        start = i + 1;
    }
    return result;
}

std::string PayloadFromText(const std::string& text, const std::string& tail) {
    std::string payload = text;
    std::replace(payload.begin(), payload.end(), '\n', '\r');
    return payload + tail;
}

Result<TextTagText> ReadTextTagPayload(FILE* stream, const TagHeader& header) {
    const Result<std::vector<uint8_t>> payload = ReadTagPayloadBytes(stream, header);
    if (!payload) return Fail(payload.error());
    return TextFromPayload(header.group, *payload);
}

Status WriteTextTagPayload(FILE* stream, const std::string& text, const std::string& tail) {
    const std::string payload = PayloadFromText(text, tail);
    if (payload.empty()) return Ok();
    if (!stream || std::fwrite(payload.data(), 1, payload.size(), stream) != payload.size())
        return Fail("the text could not be written");
    return Ok();
}

}  // namespace tamber::tags
