// Preferences files from strangers: any bytes load without fault, and what was
// loaded saves to text that loads to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Preferences.h"

using namespace tamber::base;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Preferences prefs;
    (void)prefs.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> list;
    for (const auto& [key, value] : prefs.Values()) (void)prefs.GetStringList(key, list);
    const std::string saved = prefs.SaveToText();
    Preferences again;
    if (!again.LoadFromText(saved) || again.SaveToText() != saved) std::abort();
    return 0;
}
