#include "tools/ImageConversionDialog.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "images/ImageConversion.h"
#include "base/MessageLog.h"
#include "tags/Codex.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/BatchProgress.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::tools {
using namespace tamber::images;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

// What was chosen last, offered again for the rest of the session.
struct LastChoice {
    std::string source;
    std::string destination;
    ImageConversionOptions options;
};

LastChoice& Last() {
    static LastChoice last;
    return last;
}

// Asks until a size from 1 to 256 is entered; none when cancelled.
std::optional<uint32_t> AskPaletteSize(uint32_t current) {
    std::string text = std::to_string(current);
    for (;;) {
        if (MessageBoxWithInput("Enter Target Palette Size:", text, {"OK", "Cancel"}) != 0) return std::nullopt;
        if (std::optional<uint32_t> size = ParsePaletteSize(text)) return size;
        MessageBox("Error", "Invalid Palette Size.", {"OK"});
    }
}

bool AskReplace(const std::vector<std::string>& existing) {
    const std::string text = std::to_string(existing.size()) +
                             " converted images would replace files in the destination folder, such as\n" +
                             existing.front();
    return MessageBox("Replace Files?", text.c_str(), {"Replace", "Cancel"}) == 0;
}

}  // namespace

void RunImageConversion() {
    LastChoice& last = Last();
    ImageConversionOptions options = last.options;
    std::vector<DialogOption> lists{
        {"Destination Color Format:", ConversionFormatNames(), options.format},
        {"Indexing Type:", IndexingTypeNames(), options.indexing},
        {"Reserve First Two Colors:", TrueFalseNames(), options.reserveFirstTwo ? 0 : 1},
        {"0-Index Transparent Pixels:", TrueFalseNames(), options.zeroIndexTransparent ? 0 : 1},
    };
    // The first time, the chooser starts in the game folder.
    std::string source = last.source.empty() ? Codex::Instance().GameFolder() : last.source;
    if (!OsChooseFolder("Choose a folder", source, &lists)) return;
    options.format = lists[0].chosen;
    options.indexing = lists[1].chosen;
    options.reserveFirstTwo = lists[2].chosen == 0;
    options.zeroIndexTransparent = lists[3].chosen == 0;
    if (options.format == kConvertIndexed) {
        std::optional<uint32_t> size = AskPaletteSize(options.paletteSize);
        if (!size) return;
        options.paletteSize = *size;
    }
    std::string destination =
        last.destination.empty() ? std::filesystem::path(source).parent_path().string() : last.destination;
    if (!OsChooseFolder("Choose a destination folder", destination)) return;
    last = {source, destination, options};

    // The progress window appears once the paths are accepted and any question is answered.
    std::unique_ptr<BatchProgress> progress;
    ConvertImageTree(
        source, destination, options,
        [](int level, const std::string& line) { LogMessage(level, kImageConversionChannel, "%s", line.c_str()); },
        [&](const std::string& what, size_t done, size_t total) {
            if (!progress) progress = std::make_unique<BatchProgress>("Converting Images");
            progress->Update(what, done, total);
        },
        AskReplace);
}

}  // namespace tamber::tools
