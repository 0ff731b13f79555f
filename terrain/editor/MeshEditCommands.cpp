// The mesh editor's commands: the right-button menu, new detail maps, detail image
// import and export, the highlight colour table and the palette list.
#include <algorithm>
#include <cstdio>

#include "images/ColorTable.h"
#include "images/MediaFile.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "terrain/HighlightColors.h"
#include "terrain/editor/ChoiceDialog.h"
#include "terrain/editor/DetailImages.h"
#include "terrain/editor/DetailTextureChoices.h"
#include "terrain/editor/DmapEdit.h"
#include "terrain/editor/DtexTag.h"
#include "terrain/editor/MaterialChangeAction.h"
#include "terrain/editor/MeshEdit.h"
#include "terrain/editor/TerrainTypesDialog.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/Menu.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::tags;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

enum Command {
    kNoTool = 1, kDetailTool, kFromTerrain, kBlank, kImportVertex, kExportVertex, kImportTriangle, kExportTriangle,
    kImportClut, kToggleInfo, kTogglePalette, kToggleWireframe, kToggleDetails, kToggleHighlighting, kToggleShape,
    kToggleMode, kToggleAnimation, kNextHighlightMode,
};

constexpr uint32_t kDtexGroup = FourCC("dtex");

void ShowErrorBox(const std::string& text) { MessageBox("Error", text.c_str(), {"OK"}); }

}  // namespace

void MeshEdit::ShowMenu(Point point) {
    const bool map = painter_.Exists(), tool = tool_ == Tool::kDetailMap;
    auto* menu = new Menu(false);
    MenuItem* switchTool = AddMenuItem(menu, "Switch Tool", nullptr, 0, true);
    AddMenuItem(menu, "No Tool", switchTool, kNoTool, true);
    AddMenuItem(menu, "Detail Map Tool", switchTool, kDetailTool, map);
    AddSeparator(menu, nullptr);
    AddMenuItem(menu, "New Detail Map (From Terrain)", nullptr, kFromTerrain, true);
    AddMenuItem(menu, "New Detail Map (Blank)", nullptr, kBlank, true);
    AddMenuItem(menu, "Import Vertex Detail", nullptr, kImportVertex, map);
    AddMenuItem(menu, "Export Vertex Detail", nullptr, kExportVertex, map);
    AddMenuItem(menu, "Import Triangle Detail", nullptr, kImportTriangle, map);
    AddMenuItem(menu, "Export Triangle Detail", nullptr, kExportTriangle, map);
    AddMenuItem(menu, "Import Highlight CLUT", nullptr, kImportClut, map);
    AddSeparator(menu, nullptr);
    AddMenuItem(menu, "Toggle Info (~)", nullptr, kToggleInfo, true);
    AddMenuItem(menu, "Toggle Palette (tab)", nullptr, kTogglePalette, tool);
    AddMenuItem(menu, "Toggle Wireframe (f1)", nullptr, kToggleWireframe, true);
    AddMenuItem(menu, "Toggle Detail Textures (f2)", nullptr, kToggleDetails, map);
    AddMenuItem(menu, "Toggle Texture Highlighting (f3)", nullptr, kToggleHighlighting, map);
    AddMenuItem(menu, "Toggle Brush Shape (f4)", nullptr, kToggleShape, tool);
    AddMenuItem(menu, "Toggle Triangle Mode (f5)", nullptr, kToggleMode, tool);
    AddMenuItem(menu, "Toggle Media Animation (f6)", nullptr, kToggleAnimation, true);
    AddMenuItem(menu, "Toggle Highlight mode (f7)", nullptr, kNextHighlightMode, tool);
    const int command = PopupMenu(menu, point);
    menu->Close();
    RunCommand(command);
}

void MeshEdit::RunCommand(int command) {
    switch (command) {
    case kNoTool: SetTool(Tool::kNone); break;
    case kDetailTool: SetTool(Tool::kDetailMap); break;
    case kFromTerrain: NewMapFromTerrain(); break;
    case kBlank: NewBlankMap(); break;
    case kImportVertex: ImportDetail(BrushMode::kVertex); break;
    case kExportVertex: ExportDetail(BrushMode::kVertex); break;
    case kImportTriangle: ImportDetail(BrushMode::kTriangle); break;
    case kExportTriangle: ExportDetail(BrushMode::kTriangle); break;
    case kImportClut: ImportHighlightColours(); break;
    case kToggleInfo: info_ = !info_; break;
    case kTogglePalette: ShowPalette(!PaletteShown()); break;
    case kToggleWireframe: wireframe_ = !wireframe_; break;
    case kToggleDetails: details_ = !details_; break;
    case kToggleHighlighting: SetHighlighting(!highlighting_); break;
    case kToggleShape: brush_.shape = brush_.shape == BrushShape::kRound ? BrushShape::kSquare : BrushShape::kRound; break;
    case kToggleMode:
        brush_.mode = brush_.mode == BrushMode::kVertex ? BrushMode::kTriangle : BrushMode::kVertex;
        if (renderer_) renderer_->MarkAll();
        break;
    case kToggleAnimation: animation_ = !animation_; if (renderer_) renderer_->MarkAnimated(); break;
    case kNextHighlightMode: highlightMode_ = NextHighlightMode(highlightMode_); if (renderer_) renderer_->MarkAll(); break;
    default: return;
    }
    InvalidateClient();
}

// ---- New detail maps ----

void MeshEdit::NewBlankMap() {
    colours_ = LoadHighlightColors();
    history_.Clear();
    position_.Cleared();
    painter_.Create(document_.mesh.width, document_.mesh.height);
    for (int i = 0; i < kDetailMaterialCount; ++i) RefreshPaletteRow(i);
    SetTool(Tool::kDetailMap);
    AfterWholeMapChange();
}

void MeshEdit::NewMapFromTerrain() {
    const TerrainRows proposed =
        TerrainProposals([](uint32_t tagid) { return Codex::Instance().FindTag(kDtexGroup, tagid) != nullptr; });
    auto* dialog = new TerrainTypesDialog(proposed);
    if (std::optional<TerrainRows> rows = dialog->Run())
        ApplyTerrainMap(*rows);
}

// Material i + 1 takes row i (its brush scale is kept); every point takes its
// cell's first triangle type plus one.
void MeshEdit::ApplyTerrainMap(const TerrainRows& rows) {
    NewBlankMap();
    materials_[0].entry.tagid = kNoDetailTexture;
    for (int i = 0; i < kTerrainTypeCount; ++i)
        WriteAttributes(rows[size_t(i)], materials_[size_t(i + 1)].entry, colours_, i + 1);
    painter_.FillFromTerrain(document_.mesh, CurrentPaint());
    painter_.CommitAll();
    details_ = true;
    ReloadMaterials();
    AfterWholeMapChange();
}

// ---- Detail images ----

void MeshEdit::ExportDetail(BrushMode mode) {
    if (!painter_.Exists()) return;
    const bool vertex = mode == BrushMode::kVertex;
    std::string path = document_.colourMapName + (vertex ? " vertex detail" : " triangle detail");
    if (!SaveFileOfKind(kFileKindImage, vertex ? "Export Per-Vertex Details" : "Export Per-Triangle Details", path))
        return;
    MediaFile file(path);
    file.image = ExportDetailImage(painter_.Working(mode), mode, document_.mesh.width, document_.mesh.height, colours_);
    if (!SaveImage(file))
        ShowErrorBox("Unable to write the image");
}

void MeshEdit::ImportDetail(BrushMode mode) {
    if (!painter_.Exists()) return;
    const bool vertex = mode == BrushMode::kVertex;
    std::string path = document_.colourMapName + (vertex ? " vertex detail" : " triangle detail");
    if (!OpenFileOfKind(kFileKindImage, vertex ? "Import Per-Vertex Details" : "Import Per-Triangle Details", path))
        return;
    MediaFile file(path);
    file.kind = kMediaImage;
    if (!LoadImage(file)) {
        ShowErrorBox("Unable to read the file");
        return;
    }
    ApplyDetailImage(file.image, mode);
}

bool MeshEdit::ApplyDetailImage(const Image& image, BrushMode mode) {
    DetailGrid grid = painter_.Working(mode);
    Result<DetailImport> imported = ImportDetailImage(image, mode, document_.mesh.width, document_.mesh.height,
                                                      CurrentPaint(), grid);
    if (!imported) {
        ShowErrorBox(imported.error());
        return false;
    }
    history_.Clear();
    position_.Cleared();
    painter_.Working(mode) = std::move(grid);
    colours_ = ImportedHighlightColours(image);
    WriteHighlightColours();
    ReloadMaterials();
    painter_.CommitAll();
    AfterWholeMapChange();
    if (!imported->perfect)
        MessageBox("Partial Success", "The map wasn't 100% perfect, so please carefully check the results.", {"OK"});
    return true;
}

void MeshEdit::ImportHighlightColours() {
    std::string path = "colors";
    if (!OpenFileOfKind(kFileKindAny, "Import Highlight CLUT", path))
        return;
    Result<ColorTable> table = ReadColorTable(path);
    if (!table) {
        ShowErrorBox(kColorTableOpenFailedMessage);
        return;
    }
    colours_ = table->entries;
    WriteHighlightColours();
    ReloadMaterials();
    AfterWholeMapChange();
}

// The table replaces res/dtex.act through a temporary file.
void MeshEdit::WriteHighlightColours() {
    if (Status written = WriteColorTable(kHighlightColorsPath, colours_.data(), 128); !written)
        ShowErrorBox(written.error());
}

// ---- Materials and the palette list ----

void MeshEdit::ReloadMaterials() {
    for (int i = 0; i < kDetailMaterialCount; ++i) LoadMaterial(i);
    if (renderer_) renderer_->MarkAll();
}

void MeshEdit::LoadMaterial(int index) {
    Material& material = materials_[size_t(index)];
    if (material.texture && material.texture->Record()->tagid != material.entry.tagid) {
        DtexTags().Release(material.texture);
        material.texture = nullptr;
    }
    if (!material.texture && material.entry.tagid != kNoDetailTexture)
        material.texture = DtexTags().Acquire(kDtexGroup, material.entry.tagid);
    RefreshPaletteRow(index);
    if (renderer_) renderer_->MarkAll();
}

void MeshEdit::RefreshPaletteRow(int index) {
    ListWindow::ListItem* item = palette_->FindItem(RowId(index + 1));
    if (!item) return;
    const Material& material = materials_[size_t(index)];
    std::string label = DetailTextureLabel(material.entry.tagid);
    if (!material.entry.description.empty() && DetailTextureName(material.entry.tagid))
        label = "|i" + material.entry.description + "|p (" + label + ")";
    char row[128];
    std::snprintf(row, sizeof row, " %.3d ~ %s", index, label.c_str());
    item->label = row;
    const uint8_t white[3] = {255, 255, 255};
    palette_->SetItemColor(item, material.highlighted ? &colours_[size_t(index) * 3] : white);
    palette_->SetItemDimmed(item, material.locked);
    palette_->InvalidateClient();
}

void MeshEdit::OnPaletteSelection() {
    if (palette_->Selection().empty()) return;
    const int index = int(palette_->Selection().front()->id) - 1;
    const int modifiers = WS().GetModifiers();
    Material& material = materials_[size_t(index & 127)];
    if (modifiers & kModShift) material.locked = !material.locked;
    if (modifiers & kModCtrl) {
        material.highlighted = !material.highlighted;
        if (renderer_) renderer_->MarkAll();
    }
    RefreshPaletteRow(index);
    SetCurrentMaterial(index);
}

void MeshEdit::OnPaletteDelete() {
    if (palette_->Selection().empty()) return;
    const int index = int(palette_->Selection().front()->id) - 1;
    MaterialAttributes cleared = AttributesOf(index);
    cleared.tagid = kNoDetailTexture;
    ChangeAttributes(index, cleared);
}

void MeshEdit::OnPaletteActivated(ListWindow::ListItem* item) { EditMaterial(int(item->id) - 1); }

void MeshEdit::EditMaterial(int index) {
    if (index < 0 || index >= kDetailMaterialCount) return;
    MaterialAttributes edited = AttributesOf(index);
    if (index == 0) {
        MessageBox("Message", "Index 0 is reserved, but you can edit the highlight color.", {"OK"});
        if (!OsChooseColor(edited.colour.data())) return;
    } else {
        auto* dialog = new ChoiceDialog(edited);
        std::optional<MaterialAttributes> entered = dialog->Run();
        if (!entered) return;
        edited = std::move(*entered);
    }
    ChangeAttributes(index, edited);
}

MaterialAttributes MeshEdit::AttributesOf(int index) const {
    return ReadAttributes(materials_[size_t(index & 127)].entry, colours_, index);
}

void MeshEdit::SetAttributes(int index, const MaterialAttributes& attributes) {
    WriteAttributes(attributes, materials_[size_t(index & 127)].entry, colours_, index);
    LoadMaterial(index & 127);
    InvalidateClient();
}

bool MeshEdit::ChangeAttributes(int index, const MaterialAttributes& attributes) {
    MaterialAttributes before = AttributesOf(index), after = attributes;
    after.description = after.description.substr(0, kMaxDescriptionLength);
    if (before == after) return false;
    SetAttributes(index, after);
    AddAction(std::make_unique<MaterialChangeAction>(*this, index & 127, std::move(before), std::move(after)));
    return true;
}

void MeshEdit::SetBrushScale(int index, int scale) {
    materials_[size_t(index & 127)].entry.scaleMinusOne = uint8_t(std::clamp(scale, 1, 256) - 1);
    LoadMaterial(index & 127);
    InvalidateClient();
}

bool MeshEdit::PaletteShown() const { return palette_->IsVisible(); }

void MeshEdit::ShowPalette(bool shown) {
    palette_->SetVisible(shown && tool_ == Tool::kDetailMap && painter_.Exists());
    Invalidate();
}

}  // namespace tamber::terrain::editor
