#pragma once
// The sequence folder scan shared by both collection builders: finds the
// sequence folders and their colour and alpha images, reads each sequence's
// script and dimensions, pairs alphas with colours and crops every image to its
// visible pixels.
#include <optional>
#include <string>
#include <vector>

#include "collections/builder/BuildLog.h"
#include "collections/builder/BuildScript.h"
#include "images/Image.h"

namespace tamber::collections::builder {

// Collection bitmaps hold 16-bit signed sizes and registration points.
constexpr int kMaxBitmapSide = 32767;
// Bitmap references are 16-bit indices, 0xFFFF meaning none.
constexpr size_t kMaxCollectionBitmaps = 65535;

// View records are addressed by 16-bit indices too.
constexpr long long kMaxCollectionViews = 65535;

struct ScanOptions {
    BitmapOrder order = kViewsThenFrames;
    bool invertAlphas = false;
};

// One loaded render: RGBA pixels cropped to the pixels with non-zero alpha.
struct ScannedImage {
    std::string file;           // the colour image
    images::Image rgba;
    int left = 0, top = 0;      // crop offset in the render
    int renderWidth = 0, renderHeight = 0;
};

// The image files of one sequence folder, in file-name order.
struct SequenceFiles {
    std::string colourFolder, alphaFolder;  // both end in "/"
    std::vector<std::string> colours;       // full paths
    std::vector<std::string> alphas;        // empty when the sequence has none
};

struct ScannedSequence {
    std::string name;
    int views = 0, frames = 0;
    BitmapOrder order = kViewsThenFrames;
    BuildScript script;
    // One entry per frame slot, frame by frame and view by view within a frame:
    // the index of its image, or -1 for an empty frame.
    std::vector<int> slots;
    std::vector<ScannedImage> images;

    int Slot(int frame, int view) const { return slots[size_t(frame) * size_t(views) + size_t(view)]; }
};

// A file name without its folder and extension.
std::string FileStem(const std::string& path);

// The folder name of a sequence in a render folder: separators, reserved and
// control characters become "_", and the result is never empty, "." or "..".
std::string SequenceFolderName(const std::string& sequenceName);

// Lists the images of a folder: colours, and alphas when `alphaFolder` differs
// (else the files whose stem ends in ".alpha" of the same folder).
SequenceFiles ListSequenceFiles(const std::string& colourFolder, const std::string& alphaFolder);

// The images of one sequence folder (ending in "/"): in its "bitmaps/" and
// "alphas/" sub-folders when it has "bitmaps/", else both in the folder itself.
SequenceFiles ListSequenceFolder(const std::string& folder);

// Puts a file list in frame-then-view order (frame f, view v at f * views + v):
// lists in bitmap order 1 are regrouped, files past the last whole frame keep
// their place at the end.
void ToViewsThenFrames(std::vector<std::string>& files, int views);

// The frame slots of `frames` x `views` for a frame list (1-based bitmap numbers,
// kEmptyFrame for none; empty means 1 to frames), as indices into the file list
// in views-then-frames order. `distinct` receives the number of bitmap numbers used.
std::vector<int> MapFrameSlots(int views, int frames, const std::vector<int>& frameList, int& distinct);

// Loads a colour image and its alpha (none when empty), applies the alpha and
// crops; logs and returns nothing when the image cannot be used.
std::optional<ScannedImage> LoadScannedImage(const std::string& colour, const std::string& alpha, bool invertAlpha,
                                             const BuildLog& log);

// Loads the images the slots use, in slot order, and renumbers the slots to the
// loaded images; a slot whose image cannot be used becomes empty. Reports each
// image as a progress step, counting on from `done` towards `total`.
void LoadSlotImages(ScannedSequence& sequence, const SequenceFiles& files, bool invertAlphas, const BuildLog& log,
                    size_t& done, size_t total);

// The scan of a standard build over `folder` (ending in "/"), with its log lines;
// sequences that cannot be built are logged and left out.
std::vector<ScannedSequence> ScanSequenceFolders(const std::string& folder, const ScanOptions& options,
                                                 const BuildLog& log);

}  // namespace tamber::collections::builder
