#pragma once
// Colour table files (".act"): 256 red, green, blue entries, optionally followed
// by a big-endian count of the colours in use and the transparent index.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Result.h"

namespace tamber::images {

// The file type, dialog titles and failure messages (title "Error", button "OK")
// of the colour table import and export commands.
constexpr const char* kColorTableFileType = "Adobe Color Table";
constexpr const char* kColorTablePattern = "*.act";
constexpr const char* kImportColorTableTitle = "Import Color Table";
constexpr const char* kExportColorTableTitle = "Export Color Table";
constexpr const char* kColorTableOpenFailedMessage = "The color table could not be opened.";
constexpr const char* kColorTableSaveFailedMessage = "The color table could not be saved.";

struct ColorTable {
    std::array<uint8_t, 768> entries{};  // red, green, blue; zero past the count
    uint32_t count = 0;                  // colours in use, 1 to 256
};

// Reads a regular file of at least 768 bytes; entries past the count are zeroed.
base::Result<ColorTable> ReadColorTable(const std::string& path);

// Parses a colour table held in memory.
base::Result<ColorTable> ParseColorTable(const uint8_t* data, size_t size);

// Writes `count` (1 to 256) entries of `table`; a shorter table is padded to 768
// bytes and followed by the count and 0xFFFF (no transparent colour).
base::Status WriteColorTable(const std::string& path, const uint8_t* table, uint32_t count);

}  // namespace tamber::images
