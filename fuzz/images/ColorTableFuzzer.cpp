#include <cstdlib>
#include <cstring>

#include "images/ColorTable.h"

using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t table[768];
    uint32_t count = 0;
    if (!ParseColorTable(data, size, table, count))
        return 0;
    if (count == 0 || count > 256 || std::memcmp(table, data, count * 3) != 0)
        std::abort();
    for (size_t i = count * 3; i < 768; ++i)
        if (table[i] != 0)
            std::abort();
    return 0;
}
