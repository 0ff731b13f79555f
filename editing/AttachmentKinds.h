#pragma once
// Attachment kinds the editing framework puts in a tag record's attachment list,
// beside the Codex's own (`tres` for a TagResource, `info` for a tag information window).
#include <cstdint>

#include "tags/FourCC.h"

namespace tamber::editing {
using namespace tamber::tags;

constexpr uint32_t kAttachTagEditor = FourCC("edit");
// A collection the generic structure editor keeps loaded to list sequences.
constexpr uint32_t kAttachStructCollection = FourCC("sedi");

}  // namespace tamber::editing
