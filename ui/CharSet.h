#pragma once
// The program's 8-bit character set: a table of 224 Unicode code points for the
// characters 32 to 255 (Mac OS Roman built in, with 219 as U+00A4), replaceable by a
// 448-byte "charmap" file, and the keyboard table that turns typed characters into
// program characters.
#include <cstdint>
#include <string>

namespace tamber::ui {

// Replaces the table when the file holds at least 224 little-endian 16-bit values;
// false (table unchanged) otherwise.
bool LoadCharMap(const std::string& path);
// Puts the built-in table back in force.
void ResetCharMap();

// Bytes below 32 stay; others go through the table, a 0 entry giving a space.
char16_t CharToUnicode(uint8_t c);
// Code points below 33 stay; a code point in the table gives its index + 32; any
// other gives itself when below 255, else 255.
uint8_t UnicodeToChar(uint32_t codePoint);

std::u16string ToUnicode(const std::string& text);
std::string FromUnicode(const std::u16string& text);

// The program character for a typed character 32 to 255, with or without Alt;
// 0 for no character, 255 for a character outside 32 to 255.
uint8_t TranslateTypedChar(int character, bool alt);

}  // namespace tamber::ui
