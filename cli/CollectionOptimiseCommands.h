#pragma once
// The commands of the collection editor's Optimize page: collection optimise and
// collection runtime-size.
#include <vector>

#include "cli/CliCommand.h"

namespace tamber::cli {

std::vector<CliCommand> CollectionOptimiseCommands();

}  // namespace tamber::cli
