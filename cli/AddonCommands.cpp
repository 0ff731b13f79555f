// The add-on builder on the command line: the same gathering, field checks,
// message texts and build as the program's "Build Regular Add-on" and "Build Dtex
// Add-on", without questions: every message box becomes a line on standard error.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/TagSource.h"
#include "tags/AddonBuilder.h"
#include "terrain/DtexAddon.h"

namespace tamber::cli {
using namespace tamber::tags;
using namespace tamber::terrain;

namespace {

// Message texts are in the program's character set, where 0xA5 is the bullet.
std::string TerminalText(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '\xA5' ? std::string("\xE2\x80\xA2") : std::string(1, c);
    return out;
}

int RunAddon(const CliCommand&, const CliArgs& args) {
    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[0], args.Value("--working-set")); !opened)
        return FailExit(opened.error());
    const AddonTags gathered = args.Has("--dtex") ? GatherDtexAddonTags(codex) : GatherRegularAddonTags(codex);
    if (gathered.message) return FailExit(TerminalText(gathered.message->text));

    const AddonFields fields{args.Value("--name"), args.Value("--url"),
                             args.Value("--priority", std::to_string(kDefaultAddonPriority))};
    uint16_t priority = 0;
    if (const std::optional<AddonMessage> invalid = CheckAddonFields(fields, priority))
        return FailExit(TerminalText(invalid->text));
    const std::string path = AddonPath(codex, fields.name);
    if (Status may = MayWrite(path, args.Has("--force")); !may) return FailExit(may.error());

    const CliProgress progress = TerminalProgress();
    // A failure's reason reaches standard error through the "Codex" channel.
    const bool built = BuildAddon(codex, gathered.tags, kAddonArchiveType, fields.name, fields.url, priority, progress).ok();
    EndTerminalProgress(progress);
    const AddonMessage result = AddonResultMessage(built, fields.name);
    if (!built) return FailExit(TerminalText(result.text));
    std::printf("%s\n", TerminalText(result.text).c_str());
    std::fprintf(stderr, "%zu tag%s packed into '%s'\n", gathered.tags.size(), gathered.tags.size() == 1 ? "" : "s",
                 path.c_str());
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> AddonCommands() {
    return {
        {"addon", "GAMEFOLDER --name N --url U [--priority P] [--dtex] [--working-set NAME,...] [--force]",
         "build an add-on archive from the local folder",
         "Packs the loose tags of the add-on groups (soli, ditl, form, obpc, reco, save,\n"
         "soun, stli, temp, text) into the add-on archive plugins/N of the game folder,\n"
         "as the program's \"Build Regular Add-on\" does. With --dtex it packs the loose\n"
         "detail maps and every detail texture they use instead (\"Build Dtex Add-on\").\n"
         "The fields are checked as in the program's dialog: the name (at most 31\n"
         "characters) and url (at most 63) must not be empty, the priority must be a\n"
         "number from 2 to 32767. An existing file is replaced only with --force, and\n"
         "only once the new add-on is complete.\n\n"
         "  --name N                  the add-on's name, also its file name\n"
         "  --url U                   the add-on's url text\n"
         "  --priority P              load order among add-ons (default 100)\n"
         "  --dtex                    a detail-texture add-on\n"
         "  --working-set NAME,...    the active archives (default: the default set)\n"
         "  --force                   replace an existing file",
         {{"--name", true},
          {"--url", true},
          {"--priority", true},
          {"--dtex", false},
          {"--working-set", true},
          {"--force", false}},
         1,
         1,
         RunAddon},
    };
}

}  // namespace tamber::cli
