#pragma once
// The standard collection build: a folder of rendered sequences becomes a new
// collection tag with one shared colour table and 16-bit bitmaps.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/Result.h"
#include "collections/Collection.h"
#include "collections/builder/BuildLog.h"
#include "collections/builder/BuildScript.h"
#include "tags/Codex.h"

namespace tamber::collections::builder {

// Registration points are accepted up to this far from the render's corner.
constexpr int kMaxRegistrationOffset = 4096;

struct StandardBuildOptions {
    std::string folder;          // ends in "/"
    std::string name;            // the tag's name
    int regX = 0, regY = 0;      // in render pixels
    BitmapOrder order = kViewsThenFrames;
    bool invertAlphas = false;
};

// The entered fields checked in the dialog's order: folder, name, X, Y. Fills
// the options' folder (ending in "/"), name and registration point; the failure
// is the message to show.
base::Status CheckStandardBuildFields(const std::string& folder, const std::string& name, const std::string& regX,
                                      const std::string& regY, StandardBuildOptions& options);

// The log channel of the next build: "BuildCollection %d (%s)", counted from 0.
std::string NextBuildLogTitle(const std::string& folder);

// Scans and assembles the collection, logging the scan. Each frame slot's view
// gets its bitmap and the registration point minus the crop offset (with
// "AlignIndividually", the centre of its own bitmap). Fails, logged, when no
// sequence could be built.
base::Result<std::unique_ptr<Collection>> AssembleStandardCollection(const StandardBuildOptions& options,
                                                                     const BuildLog& log);

// Serialises the collection into the record's loose file through a temporary
// file; the old file, if any, is replaced only when the new one is complete.
base::Status WriteCollectionTag(tags::Codex& codex, tags::TagRecord* record, const tags::TagHeader& header,
                                const Collection& collection);

// "Could not create the collection tag '%s'; it may already exist.": the failure
// of a build whose tag could not be made.
std::string CreateTagFailureMessage(const std::string& name);

// The whole build into a new tag of the Codex's local folder, with every log
// line from the first to the elapsed time. An existing tag of that tagid or name
// is replaced only with `overwrite`, and only once the new file is complete; on
// failure no new file is left behind. Returns the tag's record.
base::Result<tags::TagRecord*> BuildCollectionTag(tags::Codex& codex, const StandardBuildOptions& options,
                                                  std::optional<uint32_t> tagid, bool overwrite, const BuildLog& log);

}  // namespace tamber::collections::builder
