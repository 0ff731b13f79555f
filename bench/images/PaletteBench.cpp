// Palette reduction to 256 colours compared with ImageMagick and pngquant, all
// three as whole processes through their command lines on the same PNG files, with
// dithering on and off. The runs alternate between the programs; the table gives
// per picture the median time of each and the median of the per-run time ratios,
// and the PSNR of each result against the source.
// Usage: images_palette_bench [runs] [scratch folder]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/BenchFigures.h"
#include "images/ColorHistogram.h"
#include "images/MediaFile.h"
#include "images/PixelConvert.h"

extern char** environ;

using namespace tamber::bench;
using namespace tamber::images;
namespace fs = std::filesystem;

namespace {

const char* const kPictures[] = {"wizard", "logo", "rose", "plasma", "granite", "gradient", "radial", "noise"};

struct Timing {
    double wallMs = -1;
    double cpuMs = -1;  // user + system of the process and its threads
};

double RusageMs(const rusage& usage) {
    return (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1e3 +
           (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e3;
}

// Runs a program with its output discarded; a timing of -1 when it fails.
Timing Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Timing timing;
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return timing;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return timing;
    timing.wallMs = MillisecondsSince(start);
    timing.cpuMs = RusageMs(usage);
    return timing;
}

bool HasTool(const char* name) { return Run({name, "--version"}).wallMs >= 0; }

std::vector<uint8_t> LoadRgba(const std::string& path) {
    MediaFile file(path);
    if (!LoadImage(file) || !Convert(file.image, kPixelRGBA))
        return {};
    return std::move(file.image.pixels);
}

// PSNR of red, green and blue; 0 when the result is missing or of another size.
double Psnr(const std::vector<uint8_t>& source, const std::vector<uint8_t>& result) {
    if (result.size() != source.size() || source.empty())
        return 0;
    double sum = 0;
    for (size_t i = 0; i < source.size(); i += 4)
        for (int ch = 0; ch < 3; ++ch) {
            const double d = double(source[i + size_t(ch)]) - result[i + size_t(ch)];
            sum += d * d;
        }
    if (sum == 0)
        return 99;
    return 10 * std::log10(255.0 * 255.0 * 3.0 * double(source.size() / 4) / sum);
}

struct Contender {
    const char* name;
    std::vector<std::string> command;
    std::string output;
    std::vector<Timing> runs;
    double psnr = 0;
};

struct Worst {
    double ratio = 0;
    double psnrGap = 1e9;
    std::string ratioPicture, psnrPicture;
};

void Note(Worst& worst, const std::string& picture, double ratio, double psnrGap) {
    if (ratio > worst.ratio) {
        worst.ratio = ratio;
        worst.ratioPicture = picture;
    }
    if (psnrGap < worst.psnrGap) {
        worst.psnrGap = psnrGap;
        worst.psnrPicture = picture;
    }
}

std::vector<double> Ratios(const Contender& ours, const Contender& theirs, bool cpu) {
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.runs.size() && i < theirs.runs.size(); ++i) {
        const double a = cpu ? ours.runs[i].cpuMs : ours.runs[i].wallMs;
        const double b = cpu ? theirs.runs[i].cpuMs : theirs.runs[i].wallMs;
        if (a >= 0 && b > 0)
            ratios.push_back(a / b);
    }
    return ratios;
}

double MedianWall(const Contender& c) {
    std::vector<double> values;
    for (const Timing& t : c.runs)
        values.push_back(t.wallMs);
    return Median(values);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "tamber_palette_bench";
    fs::create_directories(folder);
    const bool magick = HasTool("convert");
    const bool quant = HasTool("pngquant");
    if (!magick || !quant) {
        std::printf("ImageMagick (convert) and pngquant are needed for this comparison\n");
        return 1;
    }
    std::printf("Palette reduction to 256 colours, whole processes, median of %d alternating runs.\n"
                "Ratio: Tamber's time over the other program's (below 1: Tamber faster), wall and CPU.\n"
                "dPSNR: Tamber's PSNR minus the other program's, in dB.\n\n",
                runs);
    std::printf("| picture | dither | colours | Tamber ms | Tamber PSNR | ImageMagick ms | ratio wall | ratio CPU |"
                " dPSNR | pngquant ms | ratio wall | ratio CPU | dPSNR |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    Worst againstMagick, againstQuant;
    for (const char* name : kPictures) {
        const std::string input = std::string(TAMBER_PALETTE_PICTURES) + "/" + name + ".png";
        const std::vector<uint8_t> source = LoadRgba(input);
        if (source.empty()) {
            std::printf("| %s | picture missing (made at build time with ImageMagick) |\n", name);
            continue;
        }
        const size_t colours = CountColors(source.data(), source.size() / 4).size();
        for (bool dither : {true, false}) {
            const std::string tag = std::string(name) + (dither ? "_dither" : "_plain");
            const std::string oursFolder = (folder / ("tamber_" + tag)).string();
            std::vector<std::string> oursCommand = {TAMBER_CLI, "image", "convert", input, oursFolder,
                                                    "--format", "indexed", "--palette", "256", "--force"};
            if (!dither)
                oursCommand.push_back("--no-dither");
            const std::string magickOut = (folder / ("magick_" + tag + ".png")).string();
            const std::string quantOut = (folder / ("pngquant_" + tag + ".png")).string();
            std::vector<std::string> quantCommand = {"pngquant", "--force", "--output", quantOut};
            if (!dither)
                quantCommand.push_back("--nofs");
            quantCommand.insert(quantCommand.end(), {"256", input});
            Contender contenders[] = {
                {"Tamber", oursCommand, oursFolder + "/" + name + ".png", {}},
                {"ImageMagick", {"convert", input, dither ? "-dither" : "+dither", dither ? "FloydSteinberg" : "",
                                 "-colors", "256", magickOut}, magickOut, {}},
                {"pngquant", quantCommand, quantOut, {}},
            };
            auto& magickArgs = contenders[1].command;
            magickArgs.erase(std::remove(magickArgs.begin(), magickArgs.end(), std::string()), magickArgs.end());
            for (int run = 0; run < runs; ++run)
                for (Contender& c : contenders)
                    c.runs.push_back(Run(c.command));
            for (Contender& c : contenders)
                c.psnr = Psnr(source, LoadRgba(c.output));
            const Contender& ours = contenders[0];
            std::printf("| %s | %s | %zu | %.1f | %.2f |", name, dither ? "on" : "off", colours, MedianWall(ours),
                        ours.psnr);
            for (int other = 1; other <= 2; ++other) {
                const Contender& c = contenders[other];
                const double wallRatio = Median(Ratios(ours, c, false));
                const double cpuRatio = Median(Ratios(ours, c, true));
                std::printf(" %.1f | %.2f | %.2f | %+.2f |", MedianWall(c), wallRatio, cpuRatio, ours.psnr - c.psnr);
                Note(other == 1 ? againstMagick : againstQuant, tag, wallRatio, ours.psnr - c.psnr);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    std::printf("\n");
    PrintFigure("palette: slowest time ratio to ImageMagick (" + againstMagick.ratioPicture + ")",
                Format("%.2f", againstMagick.ratio), "below 1", Met(againstMagick.ratio < 1));
    PrintFigure("palette: lowest PSNR gain over ImageMagick (" + againstMagick.psnrPicture + ")",
                Format("%+.2f dB", againstMagick.psnrGap), "0 dB or more", Met(againstMagick.psnrGap >= 0));
    PrintFigure("palette: slowest time ratio to pngquant (" + againstQuant.ratioPicture + ")",
                Format("%.2f", againstQuant.ratio), "none", "note");
    PrintFigure("palette: lowest PSNR gain over pngquant (" + againstQuant.psnrPicture + ")",
                Format("%+.2f dB", againstQuant.psnrGap), "none", "note");
    return 0;
}
