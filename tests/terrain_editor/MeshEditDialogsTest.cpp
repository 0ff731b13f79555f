// The mesh editor's material dialogs on the demo mesh: "Edit Detail Texture
// Attributes" from the palette list (each change one undoable step, saved with the
// detail map), material 0's colour, and "Automatic Detail Texturing".
#include <gtest/gtest.h>

#include "editing/TagEditorRegistry.h"
#include "terrain/editor/ChoiceDialog.h"
#include "terrain/editor/MeshEdit.h"
#include "terrain/editor/TerrainTypesDialog.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/support/DemoFolder.h"
#include "tests/terrain_editor/ValleyEditor.h"
#include "tests/ui/support/DialogDriving.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/ColorButton.h"

using namespace tamber::terrain;
using namespace tamber::terrain::editor;
using namespace tamber::terrain::painting;
using namespace tamber::ui::choosers;
using test_support::WaitFor;

namespace {

constexpr const char* kAttributes = "Edit Detail Texture Attributes";

Point RowPoint(const ListWindow* list, const ListWindow::ListItem* item) {
    const int height = list->RowHeight();
    return {list->Client().left + 40, list->Client().top + list->HeaderHeight() + height * item->row + height / 2};
}

// The row of a label (the "Detail Texture" list) or of an id (the palette's rows count from 1).
Point RowPoint(const ListWindow* list, const std::string& label) {
    for (ListWindow::ListItem* item = list->FirstItem(); item; item = item->next)
        if (list->CellText(item, 0) == label) return RowPoint(list, item);
    return {-1, -1};
}

std::string Selected(const ChoiceDialog* dialog) {
    const ListWindow* list = dialog->TextureList();
    return list->Selection().empty() ? std::string() : list->CellText(list->Selection().front(), 0);
}

ChoiceDialog* OpenAttributes(UiTestDriver& ui, const ListWindow* list, RowId row) {
    ui.doubleClick(RowPoint(list, list->FindItem(row)));
    return dynamic_cast<ChoiceDialog*>(WaitFor(ui, kAttributes));
}

class MeshEditDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(demo.Ok());
        SetTagEditorFactory(FourCC("mesh"), &MeshEdit::Create);
        InstallChoosers();
    }
    void TearDown() override {
        SetTagEditorFactory(FourCC("mesh"), nullptr);
        ColorButton::SetColorChooser(nullptr);
    }

    // Opens the demo mesh and runs the script on its editor.
    void RunOnValley(const std::function<void(UiTestDriver&, MeshEdit*)>& script) {
        test_support::RunOnValleyEditor([&](UiTestDriver& ui, MeshEdit* edit) {
            script(ui, edit);
            edit->Close();
            ui.step();
        });
    }

    // The detail map as saved in the tag.
    DetailMap SavedMap() {
        Result<MeshDocument> reread = OpenMeshDocument(Codex::Instance(), valley);
        return reread && reread->detailMap ? *reread->detailMap : DetailMap{};
    }

    test_support::DemoFolder demo;
    TagRecord* valley = Codex::Instance().FindTag(FourCC("mesh"), FourCC("tval"));
};

}  // namespace

TEST_F(MeshEditDialogs, AttributesDialogChangesOneUndoableStepSavedWithTheMap) {
    RunOnValley([&](UiTestDriver& ui, MeshEdit* edit) {
        auto* palette = dynamic_cast<ListWindow*>(ui.find("MeshEdit/Brush List"));
        ASSERT_NE(palette, nullptr);
        const MaterialAttributes sand = edit->AttributesOf(2);
        const size_t steps = edit->History().Count();

        // Opens on the material's texture, colour and description; another of each
        // is one step, shown in the palette row.
        ChoiceDialog* dialog = OpenAttributes(ui, palette, 3);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->TextureList()->CellText(dialog->TextureList()->FirstItem(), 0), "<no tag>");
        EXPECT_EQ(Selected(dialog), "sand");
        EXPECT_EQ(dialog->ColourButton()->GetColor(), sand.Rgba());
        EXPECT_EQ(dialog->DescriptionField()->Text(), "valley sand");
        ui.screenshot("edit-detail-texture-attributes.ppm");
        ui.click(RowPoint(dialog->TextureList(), "snow"));
        ui.click("Edit Detail Texture Attributes/Highlight Color");
        ASSERT_NE(WaitFor(ui, "ColorDialogWindow"), nullptr);
        ui.type("#102030\n");
        ui.click("Edit Detail Texture Attributes/Description");
        ui.key('A', kModCtrl);
        ui.type("frosty\n");
        ui.runUntilIdle();
        const MaterialAttributes snow{FourCC("snow"), {0x10, 0x20, 0x30}, "frosty"};
        EXPECT_EQ(edit->AttributesOf(2), snow);
        EXPECT_EQ(edit->History().Count(), steps + 1);
        EXPECT_EQ(palette->FindItem(3)->label, " 002 ~ |ifrosty|p (snow)");
        EXPECT_STREQ(edit->GetName(), "demo valley*");

        // Cancel, and accepting with nothing changed (a double-click on the texture
        // accepts), leave the material and the history alone.
        ASSERT_NE(dialog = OpenAttributes(ui, palette, 3), nullptr);
        ui.click("Edit Detail Texture Attributes/Description");
        ui.type(" dunes");
        ui.click("Edit Detail Texture Attributes/Cancel");
        ASSERT_NE(dialog = OpenAttributes(ui, palette, 3), nullptr);
        ui.doubleClick(RowPoint(dialog->TextureList(), "snow"));
        ui.runUntilIdle();
        EXPECT_EQ(WS().ModalWindow(), nullptr);
        EXPECT_EQ(edit->AttributesOf(2), snow);
        EXPECT_EQ(edit->History().Count(), steps + 1);

        // Saved with the detail map; undo and redo around the save.
        ui.key('S', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "demo valley");
        const DetailMaterial saved = SavedMap().materials[2];
        EXPECT_EQ((MaterialAttributes{saved.tagid, {saved.red, saved.green, saved.blue}, saved.description}), snow);
        EXPECT_EQ(saved.Scale(), 64);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(edit->AttributesOf(2), sand);
        EXPECT_EQ(palette->FindItem(3)->label, " 002 ~ |ivalley sand|p (sand)");
        EXPECT_STREQ(edit->GetName(), "demo valley*");
        ui.key('Y', kModCtrl);
        EXPECT_EQ(edit->AttributesOf(2), snow);
        EXPECT_STREQ(edit->GetName(), "demo valley");

        // Material 0: the message, then the colour chooser; undone like the rest.
        const MaterialAttributes reserved = edit->AttributesOf(0);
        ui.doubleClick(RowPoint(palette, palette->FindItem(1)));
        EXPECT_EQ(test_support::BoxText(ui, "Message"), "Index 0 is reserved, but you can edit the highlight color.");
        ui.click("Message/OK");
        ASSERT_NE(WaitFor(ui, "ColorDialogWindow"), nullptr);
        ui.type("#405060\n");
        ui.runUntilIdle();
        EXPECT_EQ(edit->AttributesOf(0).colour, (std::array<uint8_t, 3>{0x40, 0x50, 0x60}));
        ui.key('Z', kModCtrl);
        EXPECT_EQ(edit->AttributesOf(0), reserved);

        // A texture missing from the database stays chosen unless another is picked.
        edit->SetAttributes(5, {FourCC("zzzz"), {}, ""});
        ASSERT_NE(dialog = OpenAttributes(ui, palette, 6), nullptr);
        EXPECT_EQ(Selected(dialog), "'zzzz' <not found>");
        ui.click("Edit Detail Texture Attributes/Description");
        ui.type("kept\n");
        ui.runUntilIdle();
        EXPECT_EQ(edit->AttributesOf(5), (MaterialAttributes{FourCC("zzzz"), {}, "kept"}));
    });
}

TEST_F(MeshEditDialogs, TerrainTypesDialogProposesEditsAndAppliesOrCancels) {
    RunOnValley([&](UiTestDriver& ui, MeshEdit* edit) {
        auto* opener = new Opener;
        opener->action = [&] { edit->NewMapFromTerrain(); };
        const DetailMap before = SavedMap();
        const int scale = edit->MaterialAt(1).entry.Scale();

        // The proposals with their colours (a texture missing counts as none); Cancel
        // changes nothing.
        ui.click(UiTestDriver::center(opener));
        auto* dialog = dynamic_cast<TerrainTypesDialog*>(WaitFor(ui, "Automatic Detail Texturing"));
        ASSERT_NE(dialog, nullptr);
        ListWindow* list = dialog->TypeList();
        ASSERT_EQ(list->ItemCount(), kTerrainTypeCount);
        EXPECT_EQ(list->CellText(list->FindItem(1), 0) + "|" + list->CellText(list->FindItem(1), 1), "dwarf depth media|water");
        EXPECT_EQ(list->Cell(list->FindItem(1), 1).color, 0x2020FFFFu);
        EXPECT_EQ(list->CellText(list->FindItem(13), 1), "<no tag>");
        ui.screenshot("automatic-detail-texturing.ppm");
        ui.click("Automatic Detail Texturing/Cancel");
        ui.runUntilIdle();
        EXPECT_STREQ(edit->GetName(), "demo valley");
        EXPECT_EQ(edit->Painter().Working(BrushMode::kVertex).bytes, before.vertex);
        EXPECT_EQ(edit->AttributesOf(7).tagid, before.materials[7].tagid);

        // Grass gets dirt and a description in the attributes dialog, then OK.
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(dialog = dynamic_cast<TerrainTypesDialog*>(WaitFor(ui, "Automatic Detail Texturing")), nullptr);
        ChoiceDialog* choice = OpenAttributes(ui, dialog->TypeList(), 7);
        ASSERT_NE(choice, nullptr);
        EXPECT_EQ(Selected(choice) + "|" + choice->DescriptionField()->Text(), "grass|grass");
        ui.click(RowPoint(choice->TextureList(), "dirt"));
        ui.click("Edit Detail Texture Attributes/Description");
        ui.key('A', kModCtrl);
        ui.type("meadow\n");
        ui.runUntilIdle();
        EXPECT_EQ(dialog->TypeList()->CellText(dialog->TypeList()->FindItem(7), 1), "dirt");
        ui.click("Automatic Detail Texturing/OK");
        ui.runUntilIdle();

        EXPECT_EQ(edit->AttributesOf(0).tagid, kNoDetailTexture);
        EXPECT_EQ(edit->AttributesOf(1), (MaterialAttributes{FourCC("wate"), {32, 32, 255}, "dwarf depth media"}));
        EXPECT_EQ(edit->AttributesOf(7), (MaterialAttributes{FourCC("dirt"), {255, 255, 255}, "meadow"}));
        EXPECT_EQ(edit->AttributesOf(13).tagid, kNoDetailTexture);
        EXPECT_EQ(edit->MaterialAt(1).entry.Scale(), scale);
        const Mesh& mesh = edit->GetMesh();
        const DetailGrid& made = edit->Painter().Working(BrushMode::kVertex);
        int wrong = 0;
        for (int z = 0; z < mesh.height; ++z)
            for (int x = 0; x < mesh.width; ++x)
                wrong += made.At(x, z) != ((mesh.Cell(x, z).flags & kCellFirstTypeMask) >> 4) + 1;
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(edit->Painter().Committed(BrushMode::kVertex).bytes, made.bytes);
        EXPECT_FALSE(edit->History().CanUndo());
        EXPECT_NE(edit->InfoText().find("Detail Textures: ON"), std::string::npos);
        EXPECT_STREQ(edit->GetName(), "demo valley*");

        ui.key('S', kModCtrl);
        const DetailMap saved = SavedMap();
        EXPECT_EQ(saved.vertex, made.bytes);
        EXPECT_EQ(saved.materials[7].tagid, FourCC("dirt"));
        EXPECT_EQ(saved.materials[7].description, "meadow");
        opener->Close();
    });
}

TEST_F(MeshEditDialogs, BrushScaleKeysAreUndoableAndAHeldKeyIsOneStep) {
    RunOnValley([&](UiTestDriver& ui, MeshEdit* edit) {
        edit->SetCurrentMaterial(2);
        WS().SetFocus(edit, 0);
        const auto scale = [&] { return edit->MaterialAt(2).entry.Scale(); };
        const int start = scale();
        const size_t steps = edit->History().Count();

        ui.key('=');
        ui.key('=');
        EXPECT_EQ(scale(), start + 2);
        EXPECT_EQ(edit->History().Count(), steps + 2);  // two presses, two steps
        for (int i = 0; i < 4; ++i) OsCurrentCallbacks().key('-', 1);  // a press and three repeats
        OsCurrentCallbacks().key('-', 0);
        ui.step();
        EXPECT_EQ(scale(), start - 2);
        EXPECT_EQ(edit->History().Count(), steps + 3);
        EXPECT_STREQ(edit->GetName(), "demo valley*");

        ui.key('Z', kModCtrl);
        EXPECT_EQ(scale(), start + 2);
        ui.key('Z', kModCtrl);
        ui.key('Z', kModCtrl);
        EXPECT_EQ(scale(), start);
        EXPECT_STREQ(edit->GetName(), "demo valley");  // back at the saved state
        ui.key('Y', kModCtrl);
        EXPECT_EQ(scale(), start + 1);
    });
}
