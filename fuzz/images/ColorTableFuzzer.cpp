#include <cstdlib>
#include <cstring>

#include "images/ColorTable.h"

using namespace tamber::base;
using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<ColorTable> table = ParseColorTable(data, size);
    if (!table)
        return 0;
    const uint32_t count = table->count;
    if (count == 0 || count > 256 || std::memcmp(table->entries.data(), data, count * 3) != 0)
        std::abort();
    for (size_t i = count * 3; i < 768; ++i)
        if (table->entries[i] != 0)
            std::abort();
    return 0;
}
