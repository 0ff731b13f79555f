#include "collections/editor/X256BitmapCommands.h"

#include <cstdlib>

#include "base/MessageLog.h"
#include "base/Preferences.h"
#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/CollectionEdits.h"
#include "collections/CollectionOptimizer.h"
#include "collections/ColorPlate.h"
#include "collections/editor/X256BitmapBrowser.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256Text.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {
using namespace tamber::base;
using namespace tamber::ui::choosers;

namespace {

constexpr const char* kMappingPreference = "BitmapImportMappingMode";
constexpr uint32_t kImportChanges = kChangeBitmaps | kChangeColorTable;

struct Target {
    X256BitmapBrowser& page;
    std::vector<const Bitmap*> bitmaps;
    bool all;

    bool Shadows() const { return page.GetMode() == X256BitmapBrowser::kModeShadows; }
    const char* Noun() const { return Shadows() ? "shadow" : "bitmap"; }
    const char* Plural() const { return bitmaps.size() == 1 ? "" : "s"; }
    // "the selected", "the only" or "all".
    const char* Which() const { return !all ? "the selected" : bitmaps.size() == 1 ? "the only" : "all"; }
};

int StoredMappingMode() {
    int mode = 0;
    GetPrefInt(kMappingPreference, mode);
    return mode == 1 ? 1 : 0;
}

// The open check: false (after saying which bitmap is open) when one of them is.
bool NoneOpen(const Target& target, const char* doing) {
    const Bitmap* open = target.page.Editor().FirstOpenBitmap(target.bitmaps);
    if (!open) return true;
    const std::string text = Printf("The bitmap \"%s\" is currently open. Please close it before %s.", open->name.c_str(), doing);
    MessageBox("Error", text.c_str(), {"OK"});
    return false;
}

PaletteQuestion AskOverwritePalette() {
    return [] { return MessageBox(kOverwritePaletteTitle, kOverwritePaletteText, {"Replace", "Cancel"}) == 0; };
}

void ShowRefusals(const ImportOutcome& outcome) {
    for (const std::string& refusal : outcome.refusals) MessageBox("Error", refusal.c_str(), {"OK"});
}

// An import as one action: kept when it changed anything (a partial import keeps
// what was added), with every refused file reported afterwards.
void Import(X256Edit& editor, const std::function<ImportOutcome(Collection&)>& run) {
    ImportOutcome outcome;
    editor.Change(kImportChanges, [&](Collection& collection) {
        const auto palette = collection.palette;
        outcome = run(collection);
        return outcome.changed > 0 || collection.palette != palette;
    });
    ShowRefusals(outcome);
}

std::string Extension(int format) {
    const auto& filters = FindFileDialogKind(kFileKindImage).filters;
    const std::string& pattern = filters[size_t(format) % filters.size()].pattern;
    return pattern.substr(pattern.find('.') + 1);
}

// The chosen path with the extension of the chosen format when it has none.
std::string WithExtension(std::string path, int format) {
    const size_t slash = path.find_last_of('/'), dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += "." + Extension(format);
    return path;
}

void Export(const Target& target, bool alpha) {
    X256Edit& editor = target.page.Editor();
    const Collection& collection = editor.GetCollection();
    int format = -1;
    if (target.bitmaps.size() == 1) {
        const Bitmap& bitmap = *target.bitmaps[0];
        std::string path = SafeFileStem(bitmap.name) + (alpha ? " alpha" : "");
        if (!SaveFileOfKind(kFileKindImage, alpha ? "Export Alpha" : "Export Bitmap", path, &format)) return;
        if (Status saved = ExportBitmap(collection, bitmap, WithExtension(path, format), alpha); !saved)
            ShowError("%s", saved.error().c_str());
        return;
    }
    std::vector<DialogOption> options = {{"Mode:", {"By Numbering", "By Bitmap Name"}, StoredMappingMode()}};
    std::string folder;
    if (!ChooseFolderOfKind(kFileKindImage, "Choose a destination folder", folder, &format, &options)) return;
    SetPrefInt(kMappingPreference, options[0].chosen);
    const ExportNaming naming = options[0].chosen == 1 ? ExportNaming::kByName : ExportNaming::kByNumber;
    const Result<ExportOutcome> outcome = ExportBitmaps(collection, target.bitmaps, folder, Extension(format), naming,
                                                        alpha ? "alpha" : target.Noun(), alpha);
    if (!outcome) {
        MessageBox("Error", outcome.error().c_str(), {"OK"});
        return;
    }
    for (const std::string& note : outcome->notes) LogMessage(0, "Collections", "%s", note.c_str());
    for (const std::string& failure : outcome->failures) LogMessage(0, "Collections", "ERROR: %s", failure.c_str());
    if (!outcome->failures.empty())
        ShowError("%d of the files could not be written; the \"Collections\" log names them.",
                  int(outcome->failures.size()));
}

void ExportPlateOf(const Target& target, bool alpha) {
    const std::vector<const Bitmap*> bitmaps = PlateBitmaps(target.bitmaps);
    if (bitmaps.empty()) return;
    int format = -1;
    std::string path = alpha ? "alpha plate" : "plate";
    if (!SaveFileOfKind(kFileKindImage, alpha ? "Export Alpha Plate" : "Export Plate", path, &format)) return;
    if (Status saved = ExportPlate(target.page.Editor().GetCollection(), bitmaps, WithExtension(path, format), alpha); !saved)
        ShowError("%s", saved.error().c_str());
}

void Replace(const Target& target, bool alpha) {
    if (!NoneOpen(target, "replacing")) return;
    const bool several = target.bitmaps.size() > 1;
    const std::string title = alpha ? Printf("Import replacement alpha%s", several ? "s" : "")
                                    : Printf("Import replacement %s%s", target.Noun(), several ? "s" : "");
    std::vector<std::string> paths;
    std::vector<DialogOption> options = {{"Replace:", {"By Order", "By Name"}, StoredMappingMode()}};
    if (!OpenFilesOfKind(kFileKindImage, title.c_str(), paths, nullptr, several ? &options : nullptr)) return;
    MappingMode mode = MappingMode::kByOrder;
    if (several) {
        SetPrefInt(kMappingPreference, options[0].chosen);
        mode = options[0].chosen == 1 ? MappingMode::kByName : MappingMode::kByOrder;
    }
    std::string unmatched;
    const Result<FileMapping> mapping = MapReplacementFiles(target.bitmaps, paths, mode, unmatched);
    if (!mapping) {
        MessageBox("Error", mapping.error().c_str(), {"OK"});
        return;
    }
    if (!unmatched.empty()) MessageBox("Error", unmatched.c_str(), {"OK"});
    Import(target.page.Editor(), [&](Collection& collection) {
        return alpha ? ReplaceAlphas(collection, *mapping) : ReplaceBitmaps(collection, *mapping, AskOverwritePalette());
    });
}

void ReplaceFromPlateFile(const Target& target, bool alpha) {
    if (!NoneOpen(target, "replacing")) return;
    std::string path;
    if (!OpenFileOfKind(kFileKindImage, alpha ? "Import Alpha Plate" : "Import Plate", path)) return;
    const std::vector<const Bitmap*> bitmaps = PlateBitmaps(target.bitmaps);
    Import(target.page.Editor(), [&](Collection& collection) {
        return alpha ? ReplaceAlphasFromPlate(collection, bitmaps, path)
                     : ReplaceFromPlate(collection, bitmaps, path, AskOverwritePalette());
    });
}

void Delete(const Target& target) {
    const std::string question = Printf("Are you sure you want to remove %s %s%s?", target.Which(), target.Noun(), target.Plural());
    if (MessageBox("Confirm Delete", question.c_str(), {"Delete", "Cancel"}) != 0) return;
    if (!NoneOpen(target, "deleting")) return;
    target.page.Editor().Change(kChangeBitmaps, [&](Collection& collection) {
        std::vector<bool> remove(collection.bitmaps.size());
        for (const Bitmap* bitmap : target.bitmaps)
            if (const int index = collection.IndexOfBitmap(bitmap); index >= 0) remove[size_t(index)] = true;
        RemoveBitmaps(collection, remove);
        return true;
    });
    target.page.List()->DeselectAll();
    target.page.Grid()->ClearSelection();
}

void Crop(const Target& target) {
    const std::string question = Printf("Are you sure you want to crop %s bitmap%s?", target.Which(), target.Plural());
    if (MessageBox("Confirm Crop", question.c_str(), {"Crop", "Cancel"}) != 0) return;
    if (!NoneOpen(target, "cropping")) return;
    CropOutcome outcome;
    target.page.Editor().Change(kChangeBitmaps, [&](Collection& collection) {
        outcome = CropTransparency(collection, target.bitmaps);
        return outcome.bitmaps > 0;
    });
    const std::string report = Printf("%d bitmap%s cropped (%lld pixels removed).", outcome.bitmaps,
                                      outcome.bitmaps == 1 ? " was" : "s were", (long long)outcome.pixels);
    MessageBox("", report.c_str(), {"OK"});
}

void Uncrop(const Target& target) {
    std::string text;
    if (MessageBoxWithInput("Enter Uncropped Size (pixels)", text, {"Uncrop", "Cancel"}) != 0) return;
    char* end = nullptr;
    const long size = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || size < kMinUncropSize || size > kMaxUncropSize) {
        MessageBox("Error", "Invalid size for uncropping.", {"OK"});
        return;
    }
    if (!NoneOpen(target, "cropping")) return;
    target.page.Editor().Change(kChangeBitmaps, [&](Collection& collection) {
        return UncropTransparency(collection, target.bitmaps, int(size)) > 0;
    });
}

template <class Operation>
void Simple(const Target& target, Operation operation) {
    target.page.Editor().Change(kChangeBitmaps, [&](Collection& collection) { return operation(collection) > 0; });
}

}  // namespace

void AddBitmapFiles(X256BitmapBrowser& page, const std::vector<std::string>& paths) {
    const bool shadows = page.GetMode() == X256BitmapBrowser::kModeShadows;
    Import(page.Editor(), [&](Collection& collection) {
        return AddBitmapsFromFiles(collection, paths, shadows, AskOverwritePalette());
    });
}

void ReplaceBitmapFiles(X256BitmapBrowser& page, const std::vector<const Bitmap*>& bitmaps,
                        const std::vector<std::string>& paths) {
    const Target target{page, bitmaps, false};
    if (!NoneOpen(target, "replacing") || paths.empty()) return;
    const FileMapping mapping = {{bitmaps[0], paths[0]}};
    Import(page.Editor(), [&](Collection& collection) { return ReplaceBitmaps(collection, mapping, AskOverwritePalette()); });
}

void RunBitmapCommand(X256BitmapBrowser& page, int command, bool all) {
    const Target target{page, all ? page.AllBitmaps() : page.SelectedBitmaps(), all};
    const bool needsBitmaps = command != kCommandAddFiles && command != kCommandAddPlate;
    if (needsBitmaps && target.bitmaps.empty()) return;
    switch (command) {
    case kCommandRename: page.RenameSelected(); break;
    case kCommandExport: Export(target, false); break;
    case kCommandExportAlpha: Export(target, true); break;
    case kCommandExportPlate: ExportPlateOf(target, false); break;
    case kCommandExportAlphaPlate: ExportPlateOf(target, true); break;
    case kCommandReplace: Replace(target, false); break;
    case kCommandReplaceAlpha: Replace(target, true); break;
    case kCommandReplaceFromPlate: ReplaceFromPlateFile(target, false); break;
    case kCommandReplaceAlphaFromPlate: ReplaceFromPlateFile(target, true); break;
    case kCommandRemoveAlpha: Simple(target, [&](Collection& c) { return RemoveAlpha(c, target.bitmaps); }); break;
    case kCommandConvertToRle: Simple(target, [&](Collection& c) { return ConvertEncoding(c, target.bitmaps, true); }); break;
    case kCommandConvertToRaw: Simple(target, [&](Collection& c) { return ConvertEncoding(c, target.bitmaps, false); }); break;
    case kCommandCrop: Crop(target); break;
    case kCommandUncrop: Uncrop(target); break;
    case kCommandDelete: Delete(target); break;
    case kCommandAddFiles: {
        std::vector<std::string> paths;
        if (OpenFilesOfKind(kFileKindImage, target.Shadows() ? "Import Shadows" : "Import Bitmaps", paths))
            AddBitmapFiles(page, paths);
        break;
    }
    case kCommandAddPlate: {
        std::string path;
        if (!OpenFileOfKind(kFileKindImage, "Import Plate", path)) break;
        Import(page.Editor(), [&](Collection& collection) {
            return AddBitmapsFromPlate(collection, path, target.Shadows(), AskOverwritePalette());
        });
        break;
    }
    default: break;
    }
}

}  // namespace tamber::collections::editor
