// The optimisation page's operations for scripts: `collection optimise` runs the
// chosen operations on a tag of a game folder and writes its local copy only when
// something changed and the whole write succeeded; `collection runtime-size`
// prints the texture memory estimate.
#include "cli/CollectionOptimiseCommands.h"

#include <cstdio>
#include <memory>

#include "cli/TagSource.h"
#include "collections/CollectionFile.h"
#include "collections/CollectionOptimizer.h"
#include "tags/TagOperations.h"

namespace tamber::cli {
using namespace tamber::collections;
using namespace tamber::tags;

namespace {

Result<std::unique_ptr<Collection>> ReadCollectionTag(const TagData& tag) {
    if (tag.header.group != kCollectionGroupCode)
        return Fail("'" + tag.header.Name() + "' is a tag of group " + TagIdText(tag.header.group) + ", not .256");
    Result<std::unique_ptr<Collection>> read = ReadCollection(tag.payload, tag.header.user, true);
    if (!read) return Fail("'" + tag.header.Name() + "' is not a valid collection");
    if ((*read)->flags & kCollectionColourMap)
        return Fail("The collection is a color map, which is currently not supported for editing.");
    return read;
}

// The report as the page shows it: the title, when it has one, on its own line.
void PrintReport(const OptimizeReport& report) {
    if (report.text.empty()) return;
    if (!report.title.empty()) std::printf("%s:\n", report.title.c_str());
    std::printf("%s%s", report.text.c_str(), report.text.back() == '\n' ? "" : "\n");
}

Status WriteLocalCopy(Codex& codex, const TagData& tag, const Collection& collection) {
    Result<CollectionPayload> payload = WriteCollection(collection);
    if (!payload) return std::move(payload).TakeError();
    TagRecord* record = codex.FindTag(tag.header.group, tag.header.tagid);
    if (!record) return Fail("the tag is no longer in the game folder");
    TagHeader header = tag.header;
    header.size = uint32_t(payload->bytes.size());
    header.user = payload->fields.user;
    header.version = payload->fields.version;
    Result<FILE*> out = BeginTagWrite(codex, record, header);
    if (!out) return std::move(out).TakeError();
    const bool written = std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), *out) == payload->bytes.size();
    return FinishTagWrite(codex, record, &header, written);
}

int RunOptimise(const CliCommand& command, const CliArgs& args) {
    // In the order of the page's buttons.
    const struct {
        const char* option;
        OptimizeReport (*run)(Collection&);
    } operations[] = {{"--delete-unused", DeleteUnusedBitmaps},
                      {"--merge-identical", MergeIdenticalBitmaps},
                      {"--crop", CropAllBitmaps},
                      {"--auto-rename", AutoRenameBitmaps}};
    bool any = false;
    for (const auto& operation : operations) any = any || args.Has(operation.option);
    if (!any) return UsageError(command, "choose at least one operation");
    if (Status shape = CheckTagArgument(args.positional); !shape || args.positional.size() != 3)
        return UsageError(command, "expected GAMEFOLDER GROUP TAGID");
    Result<TagData> tag = LoadTagArgument(args.positional);
    if (!tag) return FailExit(tag.error());
    Result<std::unique_ptr<Collection>> collection = ReadCollectionTag(*tag);
    if (!collection) return FailExit(collection.error());
    bool changed = false;
    for (const auto& operation : operations) {
        if (!args.Has(operation.option)) continue;
        const OptimizeReport report = operation.run(**collection);
        PrintReport(report);
        changed = changed || report.changed;
    }
    if (!changed) return kExitOk;
    if (Status written = WriteLocalCopy(Codex::Instance(), *tag, **collection); !written)
        return FailExit("couldn't write the collection to the local folder: " + written.error());
    return kExitOk;
}

int RunRuntimeSize(const CliCommand& command, const CliArgs& args) {
    if (Status shape = CheckTagArgument(args.positional); !shape) return UsageError(command, shape.error());
    Result<TagData> tag = LoadTagArgument(args.positional);
    if (!tag) return FailExit(tag.error());
    Result<std::unique_ptr<Collection>> collection = ReadCollectionTag(*tag);
    if (!collection) return FailExit(collection.error());
    PrintReport(RuntimeSizeReport(**collection));
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> CollectionOptimiseCommands() {
    return {
        {"collection optimise", "GAMEFOLDER GROUP TAGID [--delete-unused] [--merge-identical] [--crop] [--auto-rename]",
         "optimise a collection as its editor's Optimize page does",
         "Runs the chosen operations in the order delete unused, merge identical, crop\n"
         "all, auto rename, and prints each report as the Optimize page shows it. When\n"
         "an operation changed the collection, the tag is written to the game folder's\n"
         "local folder once every operation has run; nothing is written otherwise.",
         {{"--delete-unused", false}, {"--merge-identical", false}, {"--crop", false}, {"--auto-rename", false}},
         3,
         3,
         RunOptimise},
        {"collection runtime-size", "TAG-OR-FILE", "estimate a collection's texture memory in the game",
         "Prints the texture cache consumption of the collection's bitmaps in the four\n"
         "formats, as the Optimize page's Get Runtime Size does.",
         {},
         1,
         3,
         RunRuntimeSize},
    };
}

}  // namespace tamber::cli
