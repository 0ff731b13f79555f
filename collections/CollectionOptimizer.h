#pragma once
// Whole-collection optimisations: deleting unused bitmaps, merging identical ones,
// cropping every bitmap to its visible area, naming bitmaps after their first use,
// and estimating the game's texture memory for the collection. Each reports its
// result as the text a user reads. None alters a Bitmap object in place (a changed
// bitmap is a new object put where the old one was), so a copy of the collection
// taken before an operation still describes it as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "collections/Collection.h"

namespace tamber::collections {

struct OptimizeReport {
    bool changed = false;  // the collection was modified
    std::string title;     // message box title
    std::string text;      // empty: nothing to report
};

// Removes the bitmaps whose flag is set, clearing every view and shadow reference
// to them (both sets of a view).
void RemoveBitmaps(Collection& collection, const std::vector<bool>& remove);

OptimizeReport DeleteUnusedBitmaps(Collection& collection);
OptimizeReport MergeIdenticalBitmaps(Collection& collection);
OptimizeReport CropAllBitmaps(Collection& collection);
OptimizeReport AutoRenameBitmaps(Collection& collection);

struct RuntimeSize {
    uint64_t area = 0;     // sum of width x height
    uint64_t po2Area = 0;  // the same with each side rounded up to a power of two
};
RuntimeSize ComputeRuntimeSize(const Collection& collection);
OptimizeReport RuntimeSizeReport(const Collection& collection);

}  // namespace tamber::collections
