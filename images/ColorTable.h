#pragma once
// Colour table files (".act"): 256 red, green, blue entries, optionally followed
// by a big-endian count of the colours in use and the transparent index.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tamber::images {

// The file type, dialog titles and failure messages (title "Error", button "OK")
// of the colour table import and export commands.
constexpr const char* kColorTableFileType = "Adobe Color Table";
constexpr const char* kColorTablePattern = "*.act";
constexpr const char* kImportColorTableTitle = "Import Color Table";
constexpr const char* kExportColorTableTitle = "Export Color Table";
constexpr const char* kColorTableOpenFailedMessage = "The color table could not be opened.";
constexpr const char* kColorTableSaveFailedMessage = "The color table could not be saved.";

// Fills `table` (768 bytes) and `count`; entries past the count are zeroed.
// False when the file cannot be read or holds fewer than 768 bytes.
bool ReadColorTable(const std::string& path, uint8_t* table, uint32_t& count);

// Parses a colour table held in memory.
bool ParseColorTable(const uint8_t* data, size_t size, uint8_t* table, uint32_t& count);

// Writes `count` (1 to 256) entries; a shorter table is padded to 768 bytes and
// followed by the count and 0xFFFF (no transparent colour).
bool WriteColorTable(const std::string& path, const uint8_t* table, uint32_t count);

}  // namespace tamber::images
