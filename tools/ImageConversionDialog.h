#pragma once

namespace tamber::tools {

// The root menu's "Recursive Image Conversion": the source folder chooser with the
// four option lists, the palette size for "Indexed", the destination folder, then
// the conversion with a progress window, logged to the "Image Conversion" channel.

constexpr const char* kImageConversionChannel = "Image Conversion";

void RunImageConversion();

}  // namespace tamber::tools
