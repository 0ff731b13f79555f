// The writing commands of tamber-cli on a failing machine: each run under strace
// has one write-related system call fail (no space left) or killed, in turn. After
// every run each output holds either its old bytes or its complete new bytes, a
// run that reports success wrote everything, and once a later run has written
// into the same folders no temporary file is left.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "demo/DemoGame.h"

using namespace tamber::base;
using namespace tamber::demo;
namespace fs = std::filesystem;

namespace {

// The calls that change files: data, syncs, names and folders. Opens count only
// when they create or write (the tracer counts every open, so those are picked
// out by their index).
const char* const kWriteCalls = "write,pwrite64,fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat,mkdir,"
                                "mkdirat,fchmod,ftruncate,openat";

std::string Quote(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::optional<std::string> Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The exit status, or 128 + the signal that ended the program.
int Shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    return WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
}

// One call to tamper with: its name and its invocation number among calls of that name.
struct Point {
    std::string call;
    int nth;
};

struct Scenario {
    std::string name;
    std::vector<std::string> args;
    std::vector<std::string> outputs;  // the files the command replaces
};

class FaultInjection : public ::testing::Test {
protected:
    void SetUp() override {
        if (Shell("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
        char pattern[] = "/tmp/tamber-faults-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        game_ = root_ + "/game";
        ASSERT_TRUE(GenerateDemoGame(game_, DemoOptions{}));
        WriteRedBitmap(root_ + "/red.bmp");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    // A 16 by 16 24-bit BMP, the smallest picture a detail texture takes.
    static void WriteRedBitmap(const std::string& path) {
        std::string bmp(54, '\0');
        const auto put = [&bmp](size_t at, uint32_t value) {
            for (int i = 0; i < 4; ++i) bmp[at + size_t(i)] = char(value >> (8 * i));
        };
        bmp[0] = 'B';
        bmp[1] = 'M';
        put(2, 54 + 16 * 16 * 3);
        put(10, 54);
        put(14, 40);
        put(18, 16);
        put(22, 16);
        bmp[26] = 1;
        bmp[28] = 24;
        for (int i = 0; i < 16 * 16; ++i) bmp += std::string("\0\0\xff", 3);
        std::ofstream(path, std::ios::binary) << bmp;
    }

    std::string Command(const Scenario& scenario) const {
        std::string command = Quote(TAMBER_CLI_PATH);
        for (const std::string& arg : scenario.args) command += " " + Quote(arg);
        return command + " >/dev/null 2>>" + Quote(root_ + "/stderr");
    }

    // Every write-related call of a clean run, in the tracer's counting.
    std::vector<Point> WritePoints(const Scenario& scenario) const {
        const std::string trace = root_ + "/trace";
        EXPECT_EQ(0, Shell("strace -qq -o " + Quote(trace) + " -e trace=" + kWriteCalls + " " + Command(scenario)));
        std::map<std::string, int> seen;
        std::vector<Point> points;
        std::istringstream lines(Contents(trace).value_or(""));
        for (std::string line; std::getline(lines, line);) {
            const size_t paren = line.find('(');
            if (paren == std::string::npos) continue;
            const std::string call = line.substr(0, paren);
            const int nth = ++seen[call];
            const bool reading = call == "openat" && line.find("O_CREAT") == std::string::npos &&
                                 line.find("O_WRONLY") == std::string::npos && line.find("O_RDWR") == std::string::npos &&
                                 line.find("O_DIRECTORY") == std::string::npos;
            if (!reading) points.push_back({call, nth});
        }
        return points;
    }

    std::map<std::string, std::optional<std::string>> Snapshot(const Scenario& scenario) const {
        std::map<std::string, std::optional<std::string>> files;
        for (const std::string& path : scenario.outputs) files[path] = Contents(path);
        return files;
    }

    void Restore(const std::map<std::string, std::optional<std::string>>& files) const {
        for (const auto& [path, contents] : files) {
            if (contents) std::ofstream(path, std::ios::binary | std::ios::trunc) << *contents;
            else fs::remove(path);
        }
    }

    std::vector<std::string> Temporaries() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(root_)) {
            const std::string name = entry.path().filename().string();
            if (name.size() > 10 && name[0] == '.' && name.compare(name.size() - 10, 4, ".tmp") == 0)
                found.push_back(entry.path().string());
        }
        return found;
    }

    // Runs the scenario failed, then killed, at each write point.
    void Check(const Scenario& scenario) {
        const auto old = Snapshot(scenario);
        ASSERT_EQ(0, Shell(Command(scenario))) << Contents(root_ + "/stderr").value_or("");
        const auto fresh = Snapshot(scenario);
        for (const auto& [path, contents] : fresh) {
            ASSERT_TRUE(contents) << path;
            ASSERT_TRUE(old.at(path) != contents) << path << ": the new bytes must differ from the old";
        }
        Restore(old);
        const std::vector<Point> points = WritePoints(scenario);
        ASSERT_FALSE(points.empty());
        Restore(old);
        for (const Point& point : points) {
            for (const char* how : {"error=ENOSPC", "signal=KILL"}) {
                const std::string where = scenario.name + " with " + point.call + " #" + std::to_string(point.nth) +
                                          " tampered (" + how + ")";
                const int status = Shell("strace -qq -o /dev/null -e trace=" + point.call + " -e inject=" + point.call +
                                         ":" + how + ":when=" + std::to_string(point.nth) + " " + Command(scenario));
                const auto after = Snapshot(scenario);
                for (const auto& [path, contents] : after) {
                    EXPECT_TRUE(contents == old.at(path) || contents == fresh.at(path)) << where << ": " << path << " is mixed";
                }
                if (status == 0) {
                    EXPECT_TRUE(after == fresh) << where << ": success reported with old files left";
                }
                if (std::string(how) == "signal=KILL") {
                    EXPECT_NE(0, status) << where;
                }
                // A later write into the same folders removes what the interrupted one left.
                ASSERT_EQ(0, Shell(Command(scenario))) << where;
                EXPECT_TRUE(Snapshot(scenario) == fresh) << where << ": a clean run did not write the new files";
                EXPECT_EQ(std::vector<std::string>{}, Temporaries()) << where;
                Restore(old);
            }
        }
    }

    std::string root_;
    std::string game_;
};

}  // namespace

TEST_F(FaultInjection, ReplacingALooseTag) {
    Check({"dtex import", {"dtex", "import", root_ + "/red.bmp", "water", game_, "--force"},
           {game_ + "/local/detail textures/water"}});
}

TEST_F(FaultInjection, ReplacingAnAddon) {
    ASSERT_EQ(0, Shell(Quote(TAMBER_CLI_PATH) + " addon " + Quote(game_) + " --name pack --url u --priority 40 2>/dev/null"));
    Check({"addon", {"addon", game_, "--name", "pack", "--url", "u", "--priority", "41", "--force"},
           {game_ + "/plugins/pack"}});
}

TEST_F(FaultInjection, ExtractingAndExporting) {
    const std::string unpacked = root_ + "/unpacked";
    const std::string wavs = root_ + "/wavs";
    fs::create_directories(unpacked + "/text");
    fs::create_directories(unpacked + "/units");
    fs::create_directories(wavs);
    for (const std::string& path : {unpacked + "/text/shared banner", unpacked + "/units/alpha unit", wavs + "/gust.wav"})
        std::ofstream(path) << "old bytes";
    Check({"archive extract", {"archive", "extract", game_ + "/plugins/alpha.dng", unpacked, "--force"},
           {unpacked + "/text/shared banner", unpacked + "/units/alpha unit"}});
    Check({"sound export", {"sound", "export", game_, "soun", "wind", wavs, "--force"}, {wavs + "/gust.wav"}});
}
