#include "terrain/editor/TerrainTypesDialog.h"

#include "terrain/editor/ChoiceDialog.h"
#include "terrain/editor/DetailTextureChoices.h"
#include "ui/WindowSystem.h"

namespace tamber::terrain::editor {

namespace {

constexpr int kRunFlags = 1 | 4;

}  // namespace

TerrainTypesDialog::TerrainTypesDialog(const TerrainRows& rows) : rows_(rows) {
    SetVisible(false);
    SetName("Automatic Detail Texturing");
    list_ = new ListWindow(ListWindow::kHeaderRow, kStyleControl | kStylePanelB, this);
    list_->SetName("Terrain Types");
    list_->SetModel(&cells_);
    list_->AddColumn("Terrain Type", CellType::kText, kColumnWidth);
    list_->AddColumn("Detail Texture", CellType::kColor, kColumnWidth);
    for (int type = 0; type < kTerrainTypeCount; ++type) {
        ShowRow(type);
        list_->AddListItem(nullptr, RowId(type + 1), 0, "");
    }
    list_->SelectListItem(list_->FirstItem(), false);
    list_->activated.Connect(this, &TerrainTypesDialog::OnActivated);
    LinkTabOrder(list_);
    // The list's border takes its share beside the content, so both columns show whole.
    list_->SetFrameXYWH(0, 0, kWidth, kHeight);
    SetContentSize(kWidth + list_->Frame().Width() - list_->Client().Width(),
                   kHeight + list_->Frame().Height() - list_->Client().Height());
}

void TerrainTypesDialog::ShowRow(int type) {
    const MaterialAttributes& row = rows_[size_t(type)];
    cells_.SetRow(RowId(type + 1), {CellValue::Text(GetTerrainType(type).label),
                                    CellValue::Color(row.Rgba(), DetailTextureLabel(row.tagid))});
    list_->InvalidateClient();
}

void TerrainTypesDialog::OnResize() {
    DialogWindow::OnResize();
    const Rect content = GetContentRect();
    list_->SetFrameXYWH(content.left, content.top, content.Width(), content.Height());
}

void TerrainTypesDialog::OnActivated(ListWindow::ListItem* item) {
    const int type = int(item->id) - 1;
    if (type < 0 || type >= kTerrainTypeCount) return;
    MaterialAttributes shown = rows_[size_t(type)];
    if (shown.description.empty()) shown.description = GetTerrainType(type).label;
    auto* dialog = new ChoiceDialog(shown);
    if (std::optional<MaterialAttributes> edited = dialog->Run()) {
        rows_[size_t(type)] = *edited;
        ShowRow(type);
    }
    WS().SetFocus(list_, kFocusByProgram);
}

std::optional<TerrainRows> TerrainTypesDialog::Run() {
    CenterInParent();
    SetVisible(true);
    WS().SetFocus(list_, kFocusByProgram);
    const bool accepted = WS().RunModal(this, kRunFlags) == 1;
    std::optional<TerrainRows> rows = accepted ? std::optional<TerrainRows>(rows_) : std::nullopt;
    Close();
    return rows;
}

}  // namespace tamber::terrain::editor
