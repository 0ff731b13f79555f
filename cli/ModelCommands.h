#pragma once
// The model commands: "model info", "model convert" and "model import".
#include <vector>

#include "cli/CliCommand.h"

namespace tamber::cli {

std::vector<CliCommand> ModelCommands();

}  // namespace tamber::cli
