#pragma once
// The control types of game dialogs: a four-character code and the name shown.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tamber::dialogs {

struct ControlType {
    uint32_t code;
    const char* name;
};

constexpr size_t kControlTypeCount = 37;

// The table in the order the type chooser lists it.
const ControlType* ControlTypeTable();

// The name of a known type, or null.
const char* FindControlTypeName(uint32_t code);

// The name of a known type, else "Unknown(%.4s)" with the code's characters.
std::string ControlTypeText(uint32_t code);

}  // namespace tamber::dialogs
