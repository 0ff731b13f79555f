#pragma once
// printf-style formatting of the editor's messages into a string.
#include <string>

namespace tamber::collections::editor {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tamber::collections::editor
