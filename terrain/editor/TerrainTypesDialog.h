#pragma once
// "Automatic Detail Texturing": the detail material proposed for each terrain type
// (texture, highlight colour, description), which the user may change row by row
// before a detail map is made from the terrain.
#include <optional>

#include "terrain/editor/MaterialAttributes.h"
#include "ui/widgets/DialogWindow.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/StoredListModel.h"

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class TerrainTypesDialog : public DialogWindow {
public:
    static constexpr int kWidth = 448;
    static constexpr int kHeight = 320;
    static constexpr int kColumnWidth = 224;

    explicit TerrainTypesDialog(const TerrainRows& rows);

    const char* GetClassName() const override { return "TerrainTypesDialog"; }

    // Centres the dialog, runs it modally and closes it; the rows on OK, none on Cancel.
    std::optional<TerrainRows> Run();
    const TerrainRows& Rows() const { return rows_; }
    ListWindow* TypeList() const { return list_; }

    void OnResize() override;

private:
    // Edits a row's material in "Edit Detail Texture Attributes".
    void OnActivated(ListWindow::ListItem* item);
    void ShowRow(int type);

    TerrainRows rows_;
    StoredListModel cells_;
    ListWindow* list_;
};

}  // namespace tamber::terrain::editor
