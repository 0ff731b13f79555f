#include "collections/editor/X256SequenceCommands.h"

#include "base/MessageLog.h"
#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/ColorPlate.h"
#include "collections/SequenceLayout.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256SequenceEdit.h"
#include "collections/editor/X256SequenceGrid.h"
#include "collections/editor/X256Text.h"
#include "ui/choosers/FileDialogKinds.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::collections::editor {
using namespace tamber::base;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kImportChanges = kChangeBitmaps | kChangeSequences | kChangeColorTable;

// The selected cells (view -1 for the shadow column) in an assignment order.
std::vector<ViewCell> Cells(const X256SequenceEdit& edit, AssignOrder order) {
    std::vector<ViewCell> cells;
    for (const auto& cell : edit.Grid()->Selection()) cells.push_back({cell.frame, cell.column - 1});
    return OrderedCells(std::move(cells), order);
}

// The bitmap each cell shows; null for a cell without one.
std::vector<const Bitmap*> CellBitmaps(const X256SequenceEdit& edit, const std::vector<ViewCell>& cells) {
    std::vector<const Bitmap*> bitmaps;
    const Sequence* sequence = edit.Shown();
    const int set = edit.Editor()->DisplaySet();
    for (const ViewCell& cell : cells) {
        const collections::Frame& frame = sequence->frames[size_t(cell.frame)];
        const View* view = ViewAt(*sequence, cell);
        bitmaps.push_back(cell.view < 0 ? frame.shadow.bitmap.get() : view ? view->Shown(set).bitmap.get() : nullptr);
    }
    return bitmaps;
}

bool CountMatches(size_t chosen, size_t expected) {
    if (chosen == expected) return true;
    const std::string text = Printf("%d bitmaps were seleced, expected %d", int(chosen), int(expected));
    MessageBox("Error", text.c_str(), {"OK"});
    return false;
}

void PlateCountMessage(size_t expected) {
    const std::string text =
        Printf("Invalid number of images in plate. It must contain exactly %d images.", int(expected));
    MessageBox("Error", text.c_str(), {"OK"});
}

PaletteQuestion AskOverwritePalette() {
    return [] { return MessageBox(kOverwritePaletteTitle, kOverwritePaletteText, {"Replace", "Cancel"}) == 0; };
}

// Runs an import inside one change; `commit` decides from the outcome whether the
// change stands. Refused files are reported afterwards.
void Import(X256SequenceEdit& edit, const std::function<bool(Collection&, ImportOutcome&)>& run) {
    ImportOutcome outcome;
    edit.Editor()->Change(kImportChanges, [&](Collection& collection) { return run(collection, outcome); });
    for (const std::string& refusal : outcome.refusals) MessageBox("Error", refusal.c_str(), {"OK"});
}

// New bitmaps from files or a plate, put into the cells in order. A plate with
// the wrong number of pictures, or a file that could not be read, changes nothing.
void ImportBitmaps(X256SequenceEdit& edit, const std::vector<ViewCell>& cells, bool plate) {
    std::vector<std::string> paths;
    std::string path;
    if (plate ? !OpenFileOfKind(kFileKindImage, "Import Plate", path)
              : !OpenFilesOfKind(kFileKindImage, "Import Bitmaps", paths))
        return;
    if (!plate && !CountMatches(paths.size(), cells.size())) return;
    const int index = edit.Index(), set = edit.Editor()->DisplaySet();
    bool wrongPlate = false;
    Import(edit, [&](Collection& collection, ImportOutcome& outcome) {
        const size_t before = collection.bitmaps.size();
        outcome = plate ? AddBitmapsFromPlate(collection, path, false, AskOverwritePalette())
                        : AddBitmapsFromFiles(collection, paths, false, AskOverwritePalette());
        const size_t added = collection.bitmaps.size() - before;
        if (outcome.cancelled || !outcome.refusals.empty() || added != cells.size()) {
            wrongPlate = plate && outcome.refusals.empty() && !outcome.cancelled;
            return false;
        }
        const std::vector<std::shared_ptr<Bitmap>> made(collection.bitmaps.begin() + ptrdiff_t(before),
                                                        collection.bitmaps.end());
        AssignCellBitmaps(collection.sequences[size_t(index)], cells, made, set);
        return true;
    });
    if (wrongPlate) PlateCountMessage(cells.size());
}

void ImportAlphas(X256SequenceEdit& edit, const std::vector<ViewCell>& cells, bool plate) {
    const std::vector<const Bitmap*> bitmaps = CellBitmaps(edit, cells);
    for (const Bitmap* bitmap : bitmaps)
        if (!bitmap) {
            MessageBox("Error", "In order to replace alphas, every bitmap must be assigned.", {"OK"});
            return;
        }
    if (plate) {
        std::string path;
        if (!OpenFileOfKind(kFileKindImage, "Import Alpha Plate", path)) return;
        const Result<images::Image> image = ReadAlphaImage(path);
        const Result<std::vector<PlateCell>> layout = image ? ReadPlateLayout(*image) : Fail(image.error());
        size_t pictures = 0;
        if (layout)
            for (const PlateCell& cell : *layout) pictures += cell.width > 0 && cell.height > 0;
        if (layout && pictures != cells.size()) {
            PlateCountMessage(cells.size());
            return;
        }
        Import(edit, [&](Collection& collection, ImportOutcome& outcome) {
            outcome = ReplaceAlphasFromPlate(collection, bitmaps, path);
            return outcome.changed > 0;
        });
        return;
    }
    std::vector<std::string> paths;
    if (!OpenFilesOfKind(kFileKindImage, "Import Replacement Alphas", paths)) return;
    if (!CountMatches(paths.size(), cells.size())) return;
    FileMapping mapping;
    for (size_t i = 0; i < bitmaps.size(); ++i) mapping.push_back({bitmaps[i], paths[i]});
    Import(edit, [&](Collection& collection, ImportOutcome& outcome) {
        outcome = ReplaceAlphas(collection, mapping);
        return outcome.changed > 0;
    });
}

std::string ImageExtension(int format) {
    const auto& filters = FindFileDialogKind(kFileKindImage).filters;
    const std::string& pattern = filters[size_t(std::max(format, 0)) % filters.size()].pattern;
    return pattern.substr(pattern.find('.') + 1);
}

// Each view cell's bitmap as "Frame #ff, view #vv" in a chosen folder.
void ExportFiles(X256SequenceEdit& edit, const std::vector<ViewCell>& cells, bool alpha) {
    std::string folder;
    int format = -1;
    if (!ChooseFolderOfKind(kFileKindImage, "Choose a destination folder", folder, &format)) return;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::vector<const Bitmap*> bitmaps = CellBitmaps(edit, cells);
    int failed = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].view < 0 || !bitmaps[i]) continue;
        const std::string path = folder + Printf("Frame #%02d, view #%02d%s", cells[i].frame, cells[i].view,
                                                 alpha ? " alpha" : "") + "." + ImageExtension(format);
        if (Status saved = ExportBitmap(edit.Editor()->GetCollection(), *bitmaps[i], path, alpha); !saved) {
            LogMessage(0, "Collections", "ERROR: %s", saved.error().c_str());
            ++failed;
        }
    }
    if (failed) ShowError("%d of the files could not be written; the \"Collections\" log names them.", failed);
}

void ExportPlateFile(X256SequenceEdit& edit, const std::vector<ViewCell>& cells, bool alpha) {
    std::vector<const Bitmap*> bitmaps;
    for (const Bitmap* bitmap : CellBitmaps(edit, cells))
        if (bitmap) bitmaps.push_back(bitmap);
    if (bitmaps.empty()) return;
    std::string path = Printf("%s %splate", edit.Shown()->name.c_str(), alpha ? "alpha " : "");
    int format = -1;
    if (!SaveFileOfKind(kFileKindImage, alpha ? "Export Alpha Plate" : "Export Plate", path, &format)) return;
    const size_t slash = path.find_last_of('/'), dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += "." + ImageExtension(format);
    if (Status saved = ExportPlate(edit.Editor()->GetCollection(), bitmaps, path, alpha); !saved)
        ShowError("%s", saved.error().c_str());
}

}  // namespace

void RunSequenceCellCommand(X256SequenceEdit& edit, int command) {
    if (!edit.Shown() || edit.Grid()->Selection().empty()) return;
    const AssignOrder order = command == kImportFramesThenViews || command == kAlphaFramesThenViews
                                  ? AssignOrder::FramesThenViews
                                  : AssignOrder::ViewsThenFrames;
    const std::vector<ViewCell> cells = Cells(edit, order);
    switch (command) {
    case kImportViewsThenFrames:
    case kImportFramesThenViews: ImportBitmaps(edit, cells, false); break;
    case kImportPlate: ImportBitmaps(edit, cells, true); break;
    case kAlphaViewsThenFrames:
    case kAlphaFramesThenViews: ImportAlphas(edit, cells, false); break;
    case kAlphaPlate: ImportAlphas(edit, cells, true); break;
    case kExportBitmaps: ExportFiles(edit, cells, false); break;
    case kExportAlphas: ExportFiles(edit, cells, true); break;
    case kExportBitmapPlate: ExportPlateFile(edit, cells, false); break;
    case kExportAlphaPlate: ExportPlateFile(edit, cells, true); break;
    default: break;
    }
}

}  // namespace tamber::collections::editor
