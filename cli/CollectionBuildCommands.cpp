// Builds collections from folders of renders into a game folder's local folder,
// printing the builder's log to standard error.
#include "cli/CollectionBuildCommands.h"

#include <cstdio>

#include "cli/TagSource.h"
#include "collections/CollectionFile.h"
#include "collections/builder/CollectionBuild.h"
#include "collections/builder/CollectionUpRes.h"
#include "collections/builder/HighResFolder.h"
#include "platform/fs/FileSystem.h"
#include "tags/Codex.h"

namespace tamber::cli {
using namespace tamber::collections::builder;
using namespace tamber::tags;
using namespace tamber::collections;
using namespace tamber::platform;

namespace {

// Log lines go to standard error between progress lines.
BuildLog StandardErrorLog(const CliProgress& progress) {
    return BuildLog(
        [progress](int, const std::string& text) {
            EndTerminalProgress(progress);
            std::fputs(text.c_str(), stderr);
        },
        progress);
}

int RunCollectionBuild(const CliCommand& command, const CliArgs& args) {
    const std::string reg = args.Value("--reg", "0,0");
    const size_t comma = reg.find(',');
    if (comma == std::string::npos) return UsageError(command, "--reg takes X,Y");
    StandardBuildOptions options;
    if (Status checked = CheckStandardBuildFields(args.positional[0], args.Value("--name"), reg.substr(0, comma),
                                                  reg.substr(comma + 1), options);
        !checked)
        return UsageError(command, checked.error());
    options.order = args.Has("--frames-then-views") ? kFramesThenViews : kViewsThenFrames;
    options.invertAlphas = args.Has("--invert-alphas");
    std::optional<uint32_t> tagid;
    if (args.Has("--tagid")) {
        const std::string text = args.Value("--tagid");
        if (text.empty() || text.size() > 4) return UsageError(command, "the tagid has one to four characters");
        tagid = FourCCFromText(text);
    }
    Codex codex;
    if (Status opened = OpenGameFolder(codex, args.positional[1], ""); !opened) return FailExit(opened.error());
    const CliProgress progress = TerminalProgress();
    Result<TagRecord*> built =
        BuildCollectionTag(codex, options, tagid, args.Has("--force"), StandardErrorLog(progress));
    EndTerminalProgress(progress);
    if (!built) return FailExit(built.error() + (args.Has("--force") ? "" : " (--force replaces an existing tag)"));
    std::printf("%s\n", (*built)->localEntry->path->c_str());
    return kExitOk;
}

// The collection GAME TAGID names, in a Codex opened on GAME.
Result<TagRecord*> FindCollection(Codex& codex, const std::string& game, const std::string& tagidText) {
    const std::optional<uint32_t> tagid = ParseTagIdArgument(tagidText);
    if (!tagid) return Fail("the tagid has one to four characters");
    if (Status opened = OpenGameFolder(codex, game, ""); !opened) return std::move(opened).TakeError();
    TagRecord* record = codex.FindTag(kCollectionGroupCode, *tagid);
    if (!record) return Fail("no collection '" + tagidText + "' in '" + game + "'");
    return record;
}

int RunCollectionUpRes(const CliCommand& command, const CliArgs& args) {
    UpResOptions options;
    if (Status checked = CheckUpResFields(args.Value("--scale"), args.Value("--tolerance", "0.05"),
                                          args.Value("--object-scale", "1"), options);
        !checked)
        return UsageError(command, checked.error());
    const std::string& folder = args.positional[2];
    if (!GetFileStatus(folder).isFolder) return UsageError(command, "Specified folder not found.");
    options.folder = folder.back() == '/' ? folder : folder + "/";
    options.preserveAlignment = args.Has("--preserve-alignment");
    options.order = args.Has("--frames-then-views") ? kFramesThenViews : kViewsThenFrames;
    options.invertAlphas = args.Has("--invert-alphas");
    Codex codex;
    Result<TagRecord*> record = FindCollection(codex, args.positional[0], args.positional[1]);
    if (!record) return FailExit(record.error());
    if (!ArchivedCollectionEntry(codex, *record)) return FailExit("Cannot Up-Res a collection from the local folder.");
    if ((*record)->localEntry && !args.Has("--force"))
        return FailExit("The specified collection already exists in the local folder. (--force replaces it)");
    const CliProgress progress = TerminalProgress();
    Status done = UpResCollectionTag(codex, *record, options, StandardErrorLog(progress));
    EndTerminalProgress(progress);
    if (!done) return FailExit(done.error());
    std::printf("%s\n", (*record)->localEntry->path->c_str());
    return kExitOk;
}

int RunCollectionUpResFolder(const CliCommand&, const CliArgs& args) {
    Codex codex;
    Result<TagRecord*> record = FindCollection(codex, args.positional[0], args.positional[1]);
    if (!record) return FailExit(record.error());
    Result<std::string> made = PrepareHighResFolder(codex, *record, args.positional[2]);
    if (!made) return FailExit(made.error());
    std::printf("%s\n", made->c_str());
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> CollectionBuildCommands() {
    return {
        {"collection build", "FOLDER GAME --name N [--tagid T] [--reg X,Y] [--invert-alphas] [--frames-then-views] [--force]",
         "build a collection from a folder of rendered sequences",
         "Makes a new collection tag in GAME's local folder from the renders in FOLDER:\n"
         "one sequence per sub-folder (FOLDER/S/, FOLDER/S/bitmaps/ and FOLDER/S/alphas/,\n"
         "or FOLDER/bitmaps/S/ and FOLDER/alphas/S/), named \"name(views,frames)\" or\n"
         "described by a script.txt. Every image is cropped to its visible pixels and all\n"
         "share one 256-colour table. The build's log goes to standard error; the tag\n"
         "file written is printed. Exit status 1 when nothing was built.\n\n"
         "  --name N             the tag's name (at most 31 characters)\n"
         "  --tagid T            the tagid (one to four characters; default: made from the name)\n"
         "  --reg X,Y            registration point in render pixels (-4096 to 4096; default 0,0)\n"
         "  --invert-alphas      alpha 0 is opaque\n"
         "  --frames-then-views  the files hold all frames of a view before the next view\n"
         "  --force              replace a local tag of the same tagid or name",
         {{"--name", true}, {"--tagid", true}, {"--reg", true}, {"--invert-alphas", false},
          {"--frames-then-views", false}, {"--force", false}},
         2, 2, RunCollectionBuild},
        {"collection upres", "GAME TAGID FOLDER --scale S [--tolerance T] [--object-scale O] [--preserve-alignment] "
         "[--invert-alphas] [--frames-then-views] [--force]",
         "add high-resolution renders to a collection as second sets",
         "Reads the archived collection TAGID of GAME, pairs every frame with its render\n"
         "in FOLDER/<sequence>/, works out the scale of the renders, resamples them to\n"
         "S x O times the originals (Lanczos, three lobes) and writes the collection with\n"
         "the renders as every view's second set into GAME's local folder. The log goes\n"
         "to standard error; the tag file written is printed. Nothing is written when\n"
         "the renders' scale is below the target.\n\n"
         "  --scale S             target scale, 0.01 to 32\n"
         "  --tolerance T         first warn fraction of the scale rounds, 0 to 32 (default 0.05)\n"
         "  --object-scale O      multiplies the target scale, 0 to 32 (default 1)\n"
         "  --preserve-alignment  keep the renders' own alignment within each sequence\n"
         "  --invert-alphas       alpha 0 is opaque\n"
         "  --frames-then-views   the files hold all frames of a view before the next view\n"
         "  --force               replace the collection's copy in the local folder",
         {{"--scale", true}, {"--tolerance", true}, {"--object-scale", true}, {"--preserve-alignment", false},
          {"--invert-alphas", false}, {"--frames-then-views", false}, {"--force", false}},
         3, 3, RunCollectionUpRes},
        {"collection upres-folder", "GAME TAGID LOCATION", "prepare a folder for a collection's high-resolution renders",
         "Makes LOCATION/<collection name>/ with one sub-folder per sequence and prints it.", {}, 3, 3,
         RunCollectionUpResFolder},
    };
}

}  // namespace tamber::cli
