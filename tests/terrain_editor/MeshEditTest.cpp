// The mesh editor on the demo mesh: opening with its detail map, painting a stroke
// with the mouse, undo and redo restoring the grids, a flood fill, the highlight
// tint on screen, the modified mark following the history, a locked palette row
// and saving the detail map.
#include <gtest/gtest.h>

#include <cmath>

#include "editing/TagEditorRegistry.h"
#include "platform/OsDriver.h"
#include "tags/TagOperations.h"
#include "terrain/editor/MeshEdit.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/support/DemoFolder.h"
#include "tests/terrain_editor/ValleyEditor.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/ListWindow.h"

using namespace tamber::terrain;
using namespace tamber::terrain::editor;
using namespace tamber::terrain::painting;

namespace {

// The surface pixel (RGBA) at a point.
std::array<uint8_t, 3> PixelAt(const std::vector<uint8_t>& rgba, Point p) {
    const size_t at = (size_t(p.y) * 1024 + size_t(p.x)) * 4;
    return {rgba[at], rgba[at + 1], rgba[at + 2]};
}

}  // namespace

TEST(MeshEdit, PaintsUndoesFillsHighlightsAndSaves) {
    test_support::DemoFolder demo;
    ASSERT_TRUE(demo.Ok());
    TagRecord* valley = Codex::Instance().FindTag(FourCC("mesh"), FourCC("tval"));
    test_support::RunOnValleyEditor([&](UiTestDriver& ui, MeshEdit* edit) {
        EXPECT_STREQ(edit->GetName(), "demo valley");
        ASSERT_TRUE(edit->HasDetailMap());
        EXPECT_EQ(edit->CurrentTool(), MeshEdit::Tool::kDetailMap);
        EXPECT_EQ(edit->GetMesh().width, 64);
        EXPECT_GT(edit->LastDrawStats().cells, 0);
        EXPECT_EQ(edit->InfoText().rfind("Mesh Dimensions: 2 x 2\nMesh Chunks: ", 0), 0u);

        // Aim the camera straight down over the middle of the map.
        edit->Camera() = MeshCamera{-32, 40, 32, 0, -90};
        ui.step();
        const Point centre{(edit->Client().left + edit->Client().right - MeshEdit::kPaletteWidth) / 2,
                           (edit->Client().top + edit->Client().bottom) / 2};
        ui.moveTo({centre.x - 60, centre.y});
        ui.step();
        ASSERT_TRUE(edit->BrushPosition());

        // Highlighting on, material 5 highlighted: painting it changes the colour on screen.
        edit->SetCurrentMaterial(5);
        edit->MaterialAt(5).highlighted = true;
        edit->SetHighlighting(true);
        edit->CurrentBrush().radius = 2;
        const std::vector<uint8_t> before = ui.pixels();
        const DetailGrid start = edit->Painter().Working(BrushMode::kVertex);
        ui.drag({centre.x - 60, centre.y}, {centre.x + 60, centre.y});
        ui.step(2);
        const DetailGrid painted = edit->Painter().Working(BrushMode::kVertex);
        EXPECT_NE(painted.bytes, start.bytes);
        EXPECT_EQ(edit->Painter().Committed(BrushMode::kVertex).bytes, painted.bytes);
        EXPECT_STREQ(edit->GetName(), "demo valley*");
        const std::vector<uint8_t> after = ui.pixels();
        EXPECT_NE(PixelAt(before, centre), PixelAt(after, centre));

        // Control+Z undoes the whole stroke, Control+Y redoes it, byte for byte; the
        // modified mark follows the history back to the state read.
        ui.key('Z', kModCtrl);
        EXPECT_EQ(edit->Painter().Working(BrushMode::kVertex).bytes, start.bytes);
        EXPECT_EQ(edit->Painter().Committed(BrushMode::kVertex).bytes, start.bytes);
        EXPECT_STREQ(edit->GetName(), "demo valley");
        ui.key('Y', kModCtrl);
        EXPECT_EQ(edit->Painter().Working(BrushMode::kVertex).bytes, painted.bytes);
        EXPECT_STREQ(edit->GetName(), "demo valley*");

        // A fill with the value already there records nothing.
        const size_t steps = edit->History().Count();
        const auto at = *edit->BrushPosition();
        edit->SetCurrentMaterial(edit->Painter().Working(BrushMode::kVertex).At(int(std::lround(at[0])), int(std::lround(at[1]))));
        edit->FillAt(at[0], at[1]);
        EXPECT_EQ(edit->History().Count(), steps);
        edit->SetCurrentMaterial(9);
        edit->FillAt(at[0], at[1]);
        EXPECT_EQ(edit->History().Count(), steps + 1);

        // Shift+click on a palette row locks its material and marks the row.
        auto* palette = dynamic_cast<ListWindow*>(ui.find("MeshEdit/Brush List"));
        ASSERT_NE(palette, nullptr);
        ListWindow::ListItem* item = palette->FindItem(RowId(4));
        ASSERT_NE(item, nullptr);
        EXPECT_FALSE(item->Dimmed());
        const Point row{palette->Client().left + 40, palette->Client().top + palette->RowHeight() * item->row + palette->RowHeight() / 2};
        OsCurrentCallbacks().key(kKeyLeftShift, 1);
        ui.click(row);
        OsCurrentCallbacks().key(kKeyLeftShift, 0);
        ui.step();
        EXPECT_TRUE(edit->MaterialAt(3).locked);
        EXPECT_TRUE(item->Dimmed());
        EXPECT_EQ(edit->CurrentMaterial(), 3);

        // Keys: radius within bounds, the highlight mode cycles.
        for (int i = 0; i < 60; ++i) ui.key(']');
        EXPECT_DOUBLE_EQ(edit->CurrentBrush().radius, 10.0);
        ui.key(103 + 1);  // F7
        EXPECT_EQ(edit->GetHighlightMode(), HighlightMode::kReflectivity);

        // Saving writes the detail map; it reads back equal.
        ui.key('S', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "demo valley");
        Result<MeshDocument> reread = OpenMeshDocument(Codex::Instance(), valley);
        ASSERT_TRUE(reread);
        ASSERT_TRUE(reread->detailMap);
        EXPECT_EQ(reread->detailMap->vertex, edit->Painter().Working(BrushMode::kVertex).bytes);
        EXPECT_EQ(reread->detailMap->triangle, edit->Painter().Working(BrushMode::kTriangle).bytes);
        // Undo and redo around the save; a new action after undoing past it leaves
        // the saved state unreachable.
        ui.key('Z', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "demo valley*");
        ui.key('Y', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "demo valley");
        ui.key('Z', kModCtrl);
        edit->SetCurrentMaterial(11);
        edit->FillAt(at[0], at[1]);
        ui.key('Z', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "demo valley*");
        ui.key('Y', kModCtrl);
        ui.screenshot("mesh-edit.ppm");
        edit->Close();
        ui.step();

        // A detail map of the colour map's tagid but another size: warned about, not used.
        Result<std::vector<uint8_t>> small = SaveDetailMap(CreateDetailMap(32, 32));
        ASSERT_TRUE(small);
        Codex& codex = Codex::Instance();
        TagRecord* map = codex.FindTag(FourCC("dmap"), FourCC("tval"));
        TagHeader header = codex.CurrentEntry(map)->header;
        Result<FILE*> out = BeginTagWrite(codex, map, header);
        ASSERT_TRUE(out);
        const bool written = std::fwrite(small->data(), 1, small->size(), *out) == small->size();
        ASSERT_TRUE(FinishTagWrite(codex, map, &header, written));
        auto* opener = new Opener;
        MeshEdit* reopened = nullptr;
        opener->action = [&] { reopened = dynamic_cast<MeshEdit*>(OpenTagEditor(valley)); };
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_STREQ(OpenBox()->GetName(), "dmap tagid conflict detected");
        EXPECT_EQ(BoxText().rfind("WARNING: A the dmap tag demo valley details (tval) matches this color map", 0), 0u);
        ui.click("dmap tagid conflict detected/OK");
        ui.step();
        ASSERT_NE(reopened, nullptr);
        EXPECT_FALSE(reopened->HasDetailMap());
        EXPECT_EQ(reopened->CurrentTool(), MeshEdit::Tool::kNone);
        reopened->Close();
        opener->Close();
        ui.step();
    });
    SetTagEditorFactory(FourCC("mesh"), nullptr);
}
