#pragma once
// Changes to a sequence's shape and to the collection's list of sequences, as the
// sequence browser and the sequence editor make them.
#include <string>
#include <vector>

#include "collections/Collection.h"
#include "collections/RegistrationPoints.h"

namespace tamber::collections {

constexpr size_t kMaxSequenceNameLength = 63;

// Sets the frame and view counts (values below 1 become 1). Frames are cut or
// extended; when the view count changes every frame's view list is cut or
// extended, otherwise only new frames are set up. New views have no bitmap and the
// registration point the sequence header gives new views.
void ResizeSequence(Sequence& sequence, int frames, int views);

// Writes the two sequence flags together; when they change, mirrored views are
// filled again. Returns whether the flags changed.
bool SetSequenceFlags(Sequence& sequence, bool useMirroring, bool noRotation);

// The column heading of view `view` of `views`: its direction in degrees and the
// degree character (161 in the program's character set).
std::string DirectionHeading(int view, int views);

// The mode names and their codes, in menu order.
struct SequenceMode {
    uint16_t code;
    const char* name;
    const char* shortCode;
};
const std::vector<SequenceMode>& SequenceModes();

// The list operations of the sequence browser; names are cut to 63 characters.
// Each returns the index of the sequence it made.
int AddNewSequence(Collection& collection);
int DuplicateSequence(Collection& collection, int index);  // "%s copy", right after the original
void RenameSequence(Sequence& sequence, const std::string& name);

// Bitmaps filling selected cells: all views of a frame before the next frame, or
// all frames of a view before the next view.
enum class AssignOrder { ViewsThenFrames, FramesThenViews };
std::vector<ViewCell> OrderedCells(std::vector<ViewCell> cells, AssignOrder order);
// Puts bitmaps[i] into cells[i] (view -1 is the frame's shadow), in the set shown
// with `displaySet`. A view that showed a bitmap keeps its registration point at
// the same place of the visible picture, so re-rendered pictures of another size
// stay in place.
void AssignCellBitmaps(Sequence& sequence, const std::vector<ViewCell>& cells,
                       const std::vector<std::shared_ptr<Bitmap>>& bitmaps, int displaySet);

}  // namespace tamber::collections
