// Codex indexing measured against the floor of reading the same bytes: generates a
// large game folder (by default 300 add-ons holding 150,000 tags and 5,000 loose
// files), then times InitCodex from nothing to done, a forced rescan of the
// unchanged local folder, and the peak memory of indexing, next to the time cat
// needs to read the same files: the archives (whose tags carry no data, so the
// files are just headers and entry tables) and the loose tag files (just headers).
// Both sides run on a warm page cache and are compared best against best.
// Usage: tags_codex_bench [scratch folder] [--archives N] [--tags N] [--loose N] [--keep]
// --keep leaves the folder for the next run, which then reuses it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "demo/DemoGame.h"
#include "tags/Codex.h"

using namespace tamber::demo;
using namespace tamber::tags;

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// CPU time of this process, and of its finished children, in milliseconds: on a
// shared machine these compare fairly where wall-clock times do not.
double CpuMilliseconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Generates in a child process so its memory does not count toward the peak.
bool Generate(const std::string& folder, const DemoOptions& options) {
    const pid_t child = fork();
    if (child == 0) _exit(GenerateDemoGame(folder, options) ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Timing {
    double wall;
    double cpu;
};

// The files InitCodex reads: the archives, and the loose files at any depth of the
// local folder (some group folder names hold a '/').
std::vector<std::string> FilesToRead(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    for (const char* sub : {"tags", "plugins"})
        for (const auto& item : fs::directory_iterator(folder + "/" + sub, ec))
            if (item.is_regular_file()) files.push_back(item.path().string());
    for (const auto& item : fs::recursive_directory_iterator(folder + "/local", ec))
        if (item.is_regular_file()) files.push_back(item.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// One cat process reading every file to /dev/null; the list is made beforehand,
// so no shell or folder walk is counted.
Timing CatTime(const std::vector<std::string>& files) {
    std::vector<char*> args{const_cast<char*>("cat")};
    for (const std::string& file : files) args.push_back(const_cast<char*>(file.c_str()));
    args.push_back(nullptr);
    const double cpu = CpuMilliseconds(RUSAGE_CHILDREN);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, 1) < 0) _exit(127);
        execvp("cat", args.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {-1, -1};
    return {Milliseconds(start), CpuMilliseconds(RUSAGE_CHILDREN) - cpu};
}

}  // namespace

int main(int argc, char** argv) {
    std::string scratch = std::filesystem::temp_directory_path().string() + "/tamber-codex-bench";
    DemoOptions options;
    options.extraArchives = 300;
    options.extraTags = 150000;
    options.extraLoose = 5000;
    options.payloadBytes = 0;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keep") {
            keep = true;
            continue;
        }
        if (i + 1 < argc && arg == "--archives") options.extraArchives = std::atoi(argv[++i]);
        else if (i + 1 < argc && arg == "--tags") options.extraTags = std::atoi(argv[++i]);
        else if (i + 1 < argc && arg == "--loose") options.extraLoose = std::atoi(argv[++i]);
        else scratch = arg;
    }
    const std::string folder = scratch + "/game";
    std::printf("generating %d archives, %d tags, %d loose files in %s\n", options.extraArchives, options.extraTags,
                options.extraLoose, folder.c_str());
    const bool reuse = keep && std::filesystem::exists(folder + "/.tamber-demo");
    if (!reuse && !Generate(folder, options)) {
        std::fprintf(stderr, "cannot generate the game folder\n");
        return 1;
    }

    // Warm the page cache, then take the best of several cat runs as the floor.
    const std::vector<std::string> files = FilesToRead(folder);
    CatTime(files);
    std::vector<double> cats, catCpus;
    for (int i = 0; i < 5; ++i) {
        const Timing t = CatTime(files);
        cats.push_back(t.wall);
        catCpus.push_back(t.cpu);
    }
    const double floor = *std::min_element(cats.begin(), cats.end());
    const double cpuFloor = *std::min_element(catCpus.begin(), catCpus.end());

    std::vector<double> inits, initCpus;
    long peakGrowthKb = 0;
    size_t records = 0;
    std::unique_ptr<Codex> codex;
    for (int run = 0; run < 5; ++run) {
        codex.reset();
        const long before = PeakKilobytes();
        const double cpu = CpuMilliseconds(RUSAGE_SELF);
        const auto start = Clock::now();
        codex = std::make_unique<Codex>();
        codex->Init(folder);
        inits.push_back(Milliseconds(start));
        initCpus.push_back(CpuMilliseconds(RUSAGE_SELF) - cpu);
        if (run == 0) {
            peakGrowthKb = PeakKilobytes() - before;
            records = codex->RecordCount();
        }
    }

    std::vector<double> rescans;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        codex->RefreshLocalFolder(true);
        rescans.push_back(Milliseconds(start));
    }
    std::vector<double> polls;
    for (int i = 0; i < 200; ++i) {
        const auto start = Clock::now();
        codex->RefreshLocalFolder(false);
        polls.push_back(Milliseconds(start));
    }

    const double init = *std::min_element(inits.begin(), inits.end());
    const double initCpu = *std::min_element(initCpus.begin(), initCpus.end());
    const double bytesPerTag = records ? peakGrowthKb * 1024.0 / static_cast<double>(records) : 0;
    std::printf("records indexed            %zu (in %zu archives)\n", records, codex->ArchiveCount());
    std::printf("cat of the same %zu files %.2f ms wall, %.2f ms cpu (best of 5)\n", files.size(), floor, cpuFloor);
    std::printf("InitCodex                  %.2f ms wall best of 5, %.2f ms median (%.2f x cat; goal 3)\n", init,
                Median(inits), init / floor);
    std::printf("InitCodex cpu              %.2f ms best of 5 (%.2f x cat's cpu)\n", initCpu, initCpu / cpuFloor);
    std::printf("forced rescan, unchanged   %.3f ms median, %.3f ms worst (goal 5)\n", Median(rescans),
                *std::max_element(rescans.begin(), rescans.end()));
    std::printf("frame poll, unchanged      %.4f ms median\n", Median(polls));
    std::printf("peak memory of indexing    %.1f MB, %.0f bytes per tag (goal 300)\n", peakGrowthKb / 1024.0, bytesPerTag);
    std::error_code ec;
    if (!keep) std::filesystem::remove_all(folder, ec);
    const bool met = init <= 3 * floor && Median(rescans) < 5 && bytesPerTag < 300;
    std::printf("%s\n", met ? "all goals met" : "some goals missed");
    return 0;
}
