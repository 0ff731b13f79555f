#pragma once
// A collection's palette as a colour table file (".act").
#include <string>

#include "base/Result.h"
#include "collections/Collection.h"

namespace tamber::collections {

// Replaces the palette with the file's colours; entries past its count become
// black. On failure the palette is unchanged.
base::Status LoadPalette(Collection& collection, const std::string& path);
// Writes all 256 entries.
base::Status SavePalette(const Collection& collection, const std::string& path);

}  // namespace tamber::collections
