#pragma once
// The collection builders' commands: "collection build" and "collection upres".
#include <vector>

#include "cli/CliCommand.h"

namespace tamber::cli {

std::vector<CliCommand> CollectionBuildCommands();

}  // namespace tamber::cli
