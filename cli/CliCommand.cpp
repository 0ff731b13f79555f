#include "cli/CliCommand.h"

#include <unistd.h>

#include <cstdio>

namespace tamber::cli {

std::string CliArgs::Value(const std::string& name, const std::string& fallback) const {
    auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

Result<CliArgs> ParseCliArgs(const std::vector<std::string>& words, const std::vector<CliOption>& accepted) {
    CliArgs out;
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, "--") != 0) {
            out.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const CliOption* option = nullptr;
        for (const CliOption& candidate : accepted) {
            if (name == candidate.name) option = &candidate;
        }
        if (!option) return Fail("unknown option '" + name + "'");
        if (!option->takesValue) {
            if (equals != std::string::npos) return Fail("option '" + name + "' takes no value");
            out.options[name] = "";
        } else if (equals != std::string::npos) {
            out.options[name] = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            out.options[name] = words[++i];
        } else {
            return Fail("option '" + name + "' needs a value");
        }
    }
    return out;
}

int UsageError(const CliCommand& command, const std::string& message) {
    std::fprintf(stderr, "tamber-cli: %s\nusage: tamber-cli %s %s\nTry 'tamber-cli %s --help'.\n",
                 message.c_str(), command.words, command.synopsis, command.words);
    return kExitUsage;
}

int FailExit(const std::string& message) {
    std::fprintf(stderr, "tamber-cli: %s\n", message.c_str());
    return kExitFailed;
}

void PrintCommandHelp(const CliCommand& command) {
    std::printf("usage: tamber-cli %s %s\n\n%s\n", command.words, command.synopsis, command.help);
}

CliProgress TerminalProgress() {
    if (!isatty(STDERR_FILENO)) return {};
    return [](const std::string& what, size_t done, size_t total) {
        std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", done, total, what.c_str());
    };
}

void EndTerminalProgress(const CliProgress& progress) {
    if (progress) std::fprintf(stderr, "\r\033[K");
}

}  // namespace tamber::cli
