#pragma once
// The command table of tamber-cli: each command's words, synopsis, help text,
// the options it accepts and the function that runs it.
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::cli {
using namespace tamber::base;

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct CliOption {
    const char* name;  // with the leading "--"
    bool takesValue;
};

struct CliArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // flags map to ""

    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Value(const std::string& name, const std::string& fallback = "") const;
};

struct CliCommand {
    const char* words;     // "archive list"
    const char* synopsis;  // arguments after the words
    const char* summary;   // one line for the program's help
    const char* help;      // the command's own help, after the synopsis
    std::vector<CliOption> options;
    size_t minArgs;
    size_t maxArgs;
    int (*run)(const CliCommand& command, const CliArgs& args);
};

// Splits the arguments after the command words into positional arguments and
// options ("--name value" or "--name=value"; "--" ends the options). Fails for an
// unknown option or a missing value.
Result<CliArgs> ParseCliArgs(const std::vector<std::string>& words, const std::vector<CliOption>& accepted);

// Prints "tamber-cli: message" and the command's usage to standard error and
// returns the usage exit status.
int UsageError(const CliCommand& command, const std::string& message);
// Prints "tamber-cli: message" to standard error and returns the failure status.
int FailExit(const std::string& message);
void PrintCommandHelp(const CliCommand& command);

// Long runs: a progress line "[done/total] what" kept rewritten on standard error
// when it is a terminal; none otherwise. EndTerminalProgress clears the line.
using CliProgress = std::function<void(const std::string& what, size_t done, size_t total)>;
CliProgress TerminalProgress();
void EndTerminalProgress(const CliProgress& progress);

// The commands of each area, defined beside their implementations.
std::vector<CliCommand> StorageCommands();  // codex, archive, tag
std::vector<CliCommand> MediaCommands();    // image, collection, sound, dtex, model
std::vector<CliCommand> ToolCommands();     // search, image convert
std::vector<CliCommand> AddonCommands();    // addon

}  // namespace tamber::cli
