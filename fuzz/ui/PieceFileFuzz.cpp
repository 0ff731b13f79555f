// Texture packs and cursor files: parse and pack into small pages.
#include <cstddef>
#include <cstdint>

#include "ui/PieceFile.h"
#include "ui/TexturePack.h"

using namespace tamber::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = ParsePieceFile(data, size);
    if (!pieces) return 0;
    auto pack = BuildTexturePack(std::move(*pieces), 64);
    (void)pack;
    return 0;
}
