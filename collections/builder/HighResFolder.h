#pragma once
// Prepares the folder a high-resolution build reads: one sub-folder per
// sequence of the collection, inside a folder named after the collection.
#include <string>

#include "base/Result.h"
#include "collections/Collection.h"
#include "tags/Codex.h"

namespace tamber::collections::builder {

// Makes "<location>/<collection name>/" and a sub-folder per sequence (existing
// ones are kept); returns the folder made, ending in "/". Nothing is made
// outside `location`.
base::Result<std::string> PrepareHighResFolder(const Collection& collection, const std::string& collectionName,
                                               const std::string& location);

// The same for a collection tag's current copy; fails with "The specified
// collection could not be loaded." when it cannot be read.
base::Result<std::string> PrepareHighResFolder(tags::Codex& codex, tags::TagRecord* record, const std::string& location);

}  // namespace tamber::collections::builder
