#pragma once
// The high-resolution build: renders of an existing collection's frames become
// new bitmaps, and every view that shows an original bitmap gets a second set
// (the render's bitmap, its scale and registration point).
#include <string>

#include "base/Result.h"
#include "collections/Collection.h"
#include "collections/builder/BuildLog.h"
#include "collections/builder/BuildScript.h"
#include "tags/Codex.h"

namespace tamber::collections::builder {

struct UpResOptions {
    std::string folder;           // ends in "/"
    double targetScale = 2.0;     // object scale x target scale
    double tolerance = 0.05;      // the first warn fraction
    bool preserveAlignment = false;
    BitmapOrder order = kViewsThenFrames;
    bool invertAlphas = false;
};

// The entered fields checked in the dialog's order after the folder: target
// scale (0.01 to 32), object scale (0 to 32), tolerance (0 to 32). Fills the
// options' target scale (their product) and tolerance; the failure is the
// message to show.
base::Status CheckUpResFields(const std::string& scale, const std::string& tolerance, const std::string& objectScale,
                              UpResOptions& options);

// The log channel of the next run: "UpRes %d (%s)", counted from 0.
std::string NextUpResLogTitle(const std::string& folder);

// The run on a loaded collection, from the root script to the elapsed time, with
// every log line. The collection is changed only when the run succeeds.
base::Status UpResCollection(Collection& collection, const UpResOptions& options, const BuildLog& log);

// The archived copy of a collection tag, which a run starts from; none for a
// collection only in the local folder.
const tags::TagEntry* ArchivedCollectionEntry(const tags::Codex& codex, const tags::TagRecord* record);

// Reads the archived copy, runs, and writes the result as the tag's local copy;
// an existing local copy is replaced only once the new one is complete.
base::Status UpResCollectionTag(tags::Codex& codex, tags::TagRecord* record, const UpResOptions& options,
                                const BuildLog& log);

}  // namespace tamber::collections::builder
