#include "collections/PaletteFile.h"

#include "images/ColorTable.h"

namespace tamber::collections {
using namespace tamber::base;
using namespace tamber::images;

Status LoadPalette(Collection& collection, const std::string& path) {
    Result<ColorTable> table = ReadColorTable(path);
    if (!table) return std::move(table).TakeError();
    collection.palette = table->entries;
    return Ok();
}

Status SavePalette(const Collection& collection, const std::string& path) {
    return WriteColorTable(path, collection.palette.data(), 256);
}

}  // namespace tamber::collections
