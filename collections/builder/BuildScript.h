#pragma once
// "script.txt" of a builder folder: lines of a key, one blank and a value, and an
// optional frame list "(1 2 ~ 3)" of 1-based bitmap numbers where "~" is an
// empty frame. Unknown keys are ignored.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::collections::builder {

// Order of the image files: all frames of one view before the next view (1), or
// all views of one frame before the next frame (2).
enum BitmapOrder : int { kFramesThenViews = 1, kViewsThenFrames = 2 };

// Which images share one alignment in a high-resolution build.
enum AlignType : int { kAlignWholeSequence = 0, kAlignBitmaps = 1, kAlignViews = 2, kAlignFrames = 3 };

// One "HueChange" line: an optional quoted name and four numbers (start hue, end
// hue, minimum saturation, median hue).
struct ScriptHueChange {
    std::optional<std::string> name;
    uint16_t startHue = 0, endHue = 0, minSaturation = 0, medianHue = 0;
};

constexpr int kEmptyFrame = 0;

struct BuildScript {
    std::optional<BitmapOrder> bitmapOrder;
    std::optional<AlignType> alignType;
    bool alignIndividually = false;
    bool affectsGlobalScale = true;
    double imageScale = 0;  // the sequence's own scale when greater than 0
    bool reverseViews = false;
    std::vector<ScriptHueChange> hueChanges;
    // Bitmap numbers per frame (kEmptyFrame for "~"); empty without a frame list.
    std::vector<int> frameList;
    bool hasFrameList = false;
};

// Parses script text. Fails, naming the line, for a frame list or hue change that
// cannot be read.
base::Result<BuildScript> ParseBuildScript(const std::string& text);
// Reads "script.txt" in the folder (ending in "/"); no file gives the defaults.
base::Result<BuildScript> ReadBuildScript(const std::string& folder);

}  // namespace tamber::collections::builder
