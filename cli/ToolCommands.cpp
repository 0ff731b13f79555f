// Commands of the batch tools: the text search over a game folder's text tags and
// the recursive image conversion.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/TagSource.h"
#include "images/ImageConversion.h"
#include "tags/Codex.h"
#include "tags/TextSearch.h"

namespace tamber::cli {
using namespace tamber::images;
using namespace tamber::tags;

namespace {

int RunSearch(const CliCommand&, const CliArgs& args) {
    if (args.positional[1].empty()) return FailExit("the text to search is empty");
    Codex codex;
    if (Status opened = OpenGameFolder(codex, args.positional[0], ""); !opened) return FailExit(opened.error());
    const CliProgress progress = TerminalProgress();
    const TextSearchResults results =
        SearchTextInTags(codex, args.positional[1], args.Has("--case-sensitive"), progress);
    EndTerminalProgress(progress);
    for (const std::string& line : TextSearchReport(results)) std::fputs(line.c_str(), stdout);
    return kExitOk;
}

// The --format word as the conversion's own list entry.
int FormatIndex(const std::string& word) {
    const char* words[] = {"copy", "indexed", "rgb", "rgba", "alpha"};
    for (int i = 0; i < 5; ++i) {
        if (word == words[i]) return i;
    }
    return -1;
}

int RunImageConvert(const CliCommand& command, const CliArgs& args) {
    ImageConversionOptions options;
    options.format = FormatIndex(args.Value("--format", "copy"));
    if (options.format < 0) return UsageError(command, "unknown format '" + args.Value("--format") + "'");
    const bool paletteOptions =
        args.Has("--palette") || args.Has("--global") || args.Has("--reserve-two") || args.Has("--zero-transparent") ||
        args.Has("--no-dither");
    if (paletteOptions && options.format != kConvertIndexed)
        return UsageError(command,
                          "--palette, --global, --reserve-two, --zero-transparent and --no-dither need --format indexed");
    if (args.Has("--palette")) {
        std::optional<uint32_t> size = ParsePaletteSize(args.Value("--palette"));
        if (!size) return UsageError(command, "the palette size must be a number from 1 to 256");
        options.paletteSize = *size;
    }
    options.indexing = args.Has("--global") ? kIndexGlobal : kIndexIndividual;
    options.reserveFirstTwo = args.Has("--reserve-two");
    options.zeroIndexTransparent = args.Has("--zero-transparent");
    options.dither = !args.Has("--no-dither");

    const bool force = args.Has("--force");
    const CliProgress progress = TerminalProgress();
    const ImageConversionSummary summary = ConvertImageTree(
        args.positional[0], args.positional[1], options,
        [&progress](int level, const std::string& line) {
            EndTerminalProgress(progress);
            std::fputs(line.c_str(), level > 0 ? stderr : stdout);
        },
        progress,
        [force](const std::vector<std::string>& existing) {
            if (!force) {
                std::fprintf(stderr, "tamber-cli: '%s' exists%s; --force replaces existing files\n",
                             existing.front().c_str(),
                             existing.size() > 1 ? (" (and " + std::to_string(existing.size() - 1) + " more)").c_str()
                                                 : "");
            }
            return force;
        });
    EndTerminalProgress(progress);
    if (!summary.started || summary.unreadable || summary.unwritable) return kExitFailed;
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> ToolCommands() {
    return {
        {"search", "GAMEFOLDER TEXT [--case-sensitive]", "search a text in every copy of every text tag",
         "Searches TEXT in the data of every copy (each archive holding one and the\n"
         "local folder) of every tag of the groups ditl, scri, stli, temp and text.\n"
         "Prints one \"group | tagid | name | location\" line per copy holding it, then\n"
         "the list of distinct locations, sorted. Letter case is ignored unless asked.\n\n"
         "  --case-sensitive  match letter case exactly",
         {{"--case-sensitive", false}}, 2, 2, RunSearch},
        {"image convert",
         "SRC DEST [--format copy|indexed|rgb|rgba|alpha] [--palette N] [--global] [--reserve-two] "
         "[--zero-transparent] [--no-dither] [--force]",
         "convert a folder tree of images into one pixel format",
         "Converts the image SRC, or every BMP, PNG and TIFF image in the folder SRC and\n"
         "its sub-folders, into the folder DEST under the same relative paths and names.\n"
         "DEST may not be SRC or lie inside it. Prints the conversion log; warnings about\n"
         "images that could not be read or written go to standard error (exit status 1).\n\n"
         "  --format F          copy (keep each image's format, the default), indexed\n"
         "                      (8-bit palette), rgb, rgba or alpha (8-bit grey)\n"
         "  --palette N         palette size for indexed, 1 to 256 (default 256)\n"
         "  --global            one palette shared by all images instead of one each\n"
         "  --reserve-two       keep palette entries 0 and 1 unused by any colour\n"
         "  --zero-transparent  pixels less than half opaque take palette entry 0\n"
         "  --no-dither         each pixel takes its nearest entry (no error diffusion)\n"
         "  --force             replace files already in DEST",
         {{"--format", true},
          {"--palette", true},
          {"--global", false},
          {"--reserve-two", false},
          {"--zero-transparent", false},
          {"--no-dither", false},
          {"--force", false}},
         2, 2, RunImageConvert},
    };
}

}  // namespace tamber::cli
