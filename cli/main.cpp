// tamber-cli: the windowless operations of the desktop program's libraries, for
// scripts and terminals.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CollectionBuildCommands.h"
#include "cli/CollectionEditCommands.h"
#include "cli/CollectionOptimiseCommands.h"
#include "cli/ModelCommands.h"
#include "cli/TerrainEditCommands.h"
#include "base/MessageLog.h"

using namespace tamber::cli;
using namespace tamber::base;

namespace {

std::vector<CliCommand> AllCommands() {
    std::vector<CliCommand> commands = StorageCommands();
    for (CliCommand& command : MediaCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : ToolCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : AddonCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : CollectionBuildCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : CollectionEditCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : CollectionOptimiseCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : ModelCommands()) commands.push_back(std::move(command));
    for (CliCommand& command : TerrainEditCommands()) commands.push_back(std::move(command));
    // Commands of one area ("image info", "image convert") stand together, areas in
    // the order they first appear.
    std::vector<std::string> areas;
    auto area = [&](const CliCommand& command) {
        const std::string first = std::string(command.words).substr(0, std::string(command.words).find(' '));
        const auto at = std::find(areas.begin(), areas.end(), first);
        if (at != areas.end()) return size_t(at - areas.begin());
        areas.push_back(first);
        return areas.size() - 1;
    };
    for (const CliCommand& command : commands) area(command);
    std::stable_sort(commands.begin(), commands.end(),
                     [&](const CliCommand& a, const CliCommand& b) { return area(a) < area(b); });
    return commands;
}

void PrintProgramHelp(const std::vector<CliCommand>& commands, FILE* to) {
    std::fprintf(to, "usage: tamber-cli COMMAND [ARGUMENTS] [OPTIONS]\n\n"
                "The windowless operations of Tamber for scripts. Results go to standard\n"
                "output, diagnostics to standard error. Exit status: 0 success, 1 failure,\n"
                "2 usage error. A TAG-OR-FILE argument is a loose tag file, or\n"
                "GAMEFOLDER GROUP TAGID for the current copy of a tag (GROUP is a code such as\n"
                "\".256\" or a plural name such as \"collections\").\n\nCommands:\n");
    for (const CliCommand& command : commands) std::fprintf(to, "  %-20s %s\n", command.words, command.summary);
    std::fprintf(to, "\n'tamber-cli COMMAND --help' describes a command.\n");
}

bool IsHelpWord(const char* word) { return !std::strcmp(word, "--help") || !std::strcmp(word, "-h"); }

}  // namespace

int main(int argc, char** argv) {
    // Every message-log channel (above all "Codex") is a diagnostic.
    MessageLog::Instance().SetListener([](const MessageLog::Channel& channel, const std::string& text, int) {
        std::fprintf(stderr, "%s: %s", channel.name.c_str(), text.c_str());
        if (!text.empty() && text.back() != '\n') std::fputc('\n', stderr);
    });
    const std::vector<CliCommand> commands = AllCommands();
    if (argc < 2 || IsHelpWord(argv[1])) {
        // Asked for, the help is the result; without a command it is a usage error.
        PrintProgramHelp(commands, argc < 2 ? stderr : stdout);
        return argc < 2 ? kExitUsage : kExitOk;
    }
    // The longest command whose words match the start of the arguments.
    const CliCommand* found = nullptr;
    int used = 0;
    for (const CliCommand& command : commands) {
        std::vector<std::string> words;
        for (const char* p = command.words; *p;) {
            const char* end = std::strchr(p, ' ');
            words.emplace_back(p, end ? end : p + std::strlen(p));
            p = end ? end + 1 : p + std::strlen(p);
        }
        if (int(words.size()) >= argc || int(words.size()) <= used) continue;
        bool match = true;
        for (size_t i = 0; i < words.size(); ++i) match = match && words[i] == argv[1 + i];
        if (match) {
            found = &command;
            used = int(words.size());
        }
    }
    if (!found) {
        // An area word alone ("archive") lists the area's commands.
        const std::string area = std::string(argv[1]) + " ";
        std::string known;
        for (const CliCommand& command : commands) {
            if (std::string(command.words).compare(0, area.size(), area) == 0)
                known += std::string("  tamber-cli ") + command.words + " " + command.synopsis + "\n";
        }
        if (known.empty())
            std::fprintf(stderr, "tamber-cli: unknown command '%s'\n", argv[1]);
        else
            std::fprintf(stderr, "tamber-cli: '%s' needs one of:\n%s", argv[1], known.c_str());
        std::fprintf(stderr, "Try 'tamber-cli --help'.\n");
        return kExitUsage;
    }
    std::vector<std::string> rest(argv + 1 + used, argv + argc);
    for (const std::string& word : rest) {
        if (word == "--") break;
        if (word == "--help" || word == "-h") {
            PrintCommandHelp(*found);
            return kExitOk;
        }
    }
    const Result<CliArgs> args = ParseCliArgs(rest, found->options);
    if (!args) return UsageError(*found, args.error());
    if (args->positional.size() < found->minArgs || args->positional.size() > found->maxArgs)
        return UsageError(*found, "wrong number of arguments");
    return found->run(*found, *args);
}
