#pragma once
// The payload of a `bina` tag: a 12-byte header (version, control count, the
// dialog rectangle as top, left, bottom, right), 24-byte control records, then
// one NUL-terminated text per control. Big-endian, converted by descriptors.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::dialogs {

struct DialogControl {
    uint32_t type = 0;  // four-character code
    uint16_t id = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string text;
};

struct Dialog {
    uint16_t version = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::vector<DialogControl> controls;

    // One more than the largest control ID in use, 1 when there is none
    // (staying at 65535 once that is taken).
    uint16_t NextControlId() const;
};

// Fails when the data ends before the header, the records or the texts.
base::Result<Dialog> ReadDialogPayload(const uint8_t* data, size_t size);

// Coordinates outside the 16-bit range are clamped to it. Fails when the
// dialog has more controls than a 16-bit count holds.
base::Result<std::vector<uint8_t>> WriteDialogPayload(const Dialog& dialog);

// The list row of a control: "%d | %s | text:\"%s\"", or "%d | %s" without text.
std::string DialogControlRowText(const DialogControl& control);

}  // namespace tamber::dialogs
