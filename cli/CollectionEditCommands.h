#pragma once
// The commands of the collection editor's pages: collection add, replace, plate
// export and import, hue list, palette export and import.
#include <vector>

#include "cli/CliCommand.h"

namespace tamber::cli {

std::vector<CliCommand> CollectionEditCommands();

}  // namespace tamber::cli
