#pragma once
// The detail-map commands: "detail export" and "detail import".
#include <vector>

#include "cli/CliCommand.h"

namespace tamber::cli {

std::vector<CliCommand> TerrainEditCommands();

}  // namespace tamber::cli
