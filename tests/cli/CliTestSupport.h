#pragma once
// Runs the tamber-cli program on a freshly generated demo game folder: the
// fixture every CLI test program shares.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "demo/DemoGame.h"

using namespace tamber::demo;

namespace cli_test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tamber-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        game_ = root_ + "/game";
        const Status made = GenerateDemoGame(game_, DemoOptions{});
        ASSERT_TRUE(made) << made.error();
    }
    void TearDown() override { std::system(("rm -rf " + Quote(root_)).c_str()); }

    CliRun Run(const std::vector<std::string>& args) {
        std::string command = runPrefix_ + Quote(TAMBER_CLI_PATH);
        for (const std::string& arg : args) command += " " + Quote(arg);
        const std::string out = root_ + "/stdout", err = root_ + "/stderr";
        CliRun run;
        const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadText(out);
        run.err = ReadText(err);
        return run;
    }

    std::string root_;
    std::string game_;
    std::string runPrefix_;  // a command the program runs under ("timeout 20 ", "setpriv ... ")
};

}  // namespace cli_test

using cli_test::CliTest;
using cli_test::CliRun;
