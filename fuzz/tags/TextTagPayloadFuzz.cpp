// Text tag payloads: every group's reading, and the save of an unedited text gives
// back exactly the bytes read (a whole text with its tail, a string list as the
// strings it holds).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tags/TextTagPayload.h"

using namespace tamber::tags;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> payload(data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const uint32_t group : TextTagGroups()) {
        const TextTagText text = TextFromPayload(group, payload);
        if (!IsStringListGroup(group)) {
            // Carriage returns stay as they are; the text holds no NUL and no line feed comes from nowhere.
            if (text.text.find('\0') != std::string::npos || text.text + text.tail != bytes) std::abort();
            if (bytes.find('\n') == std::string::npos && PayloadFromText(text.text, text.tail) != bytes) std::abort();
            continue;
        }
        // A string list reads back to the same lines once saved.
        const std::string saved = PayloadFromText(text.text);
        const TextTagText again =
            TextFromPayload(group, {reinterpret_cast<const uint8_t*>(saved.data()), saved.size()});
        if (again.text != text.text || !text.tail.empty()) std::abort();
    }
    return 0;
}
