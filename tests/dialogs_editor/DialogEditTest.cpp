// The dialog editor driven as a user would: the list's rows, adding under the
// mouse (and the beep outside the dialog), dragging with Control and by an edge,
// the arrow keys, reordering at both ends, removing, editing control data and the
// dialog's values, undo and redo back to identical bytes, saving and reopening,
// and the preview.
#include <gtest/gtest.h>

#include "dialogs/editor/ControlDataDialog.h"
#include "dialogs/editor/DialogEdit.h"
#include "dialogs/editor/DialogValueDialog.h"
#include "dialogs/editor/DialogView.h"
#include "editing/TagEditorRegistry.h"
#include "platform/OsDriver.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ComboBox.h"

using namespace tamber::dialogs;
using namespace tamber::dialogs::editor;

namespace {

constexpr uint32_t kDialogGroup = FourCC("bina");

DialogControl Control(const char (&type)[5], uint16_t id, int left, int top, int right, int bottom, const char* text) {
    return DialogControl{FourCC(type), id, left, top, right, bottom, text};
}

std::vector<uint8_t> Bytes(const Dialog& dialog) { return WriteDialogPayload(dialog).value(); }

std::string Label(DialogEdit* edit, RowId row) {
    const ListWindow::ListItem* item = edit->List()->FindItem(row);
    return item ? item->label : std::string("(no row)");
}

}  // namespace

TEST(DialogEdit, EditsUndoesSavesAndPreviews) {
    ScratchGame game;
    SetTagEditorFactory(kDialogGroup, &DialogEdit::Create);
    Dialog original;
    original.version = 1;
    original.left = 40, original.top = 30, original.right = 440, original.bottom = 330;
    original.controls = {Control("butt", 3, 100, 100, 200, 150, "OK"), Control("zzzz", 7, 20, 200, 120, 240, ""),
                         Control("slid", 5, 20, 260, 220, 280, "Volume")};
    const std::vector<uint8_t> originalBytes = Bytes(original);
    TagRecord* record = MakeLooseTag("menu", std::string(originalBytes.begin(), originalBytes.end()), kDialogGroup);
    ASSERT_NE(record, nullptr);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<DialogEdit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step();
        DialogView* view = edit->View();
        auto at = [&](int x, int y) { return view->ToSurface({x, y}); };
        EXPECT_EQ(Label(edit, DialogEdit::kVersionRow), "Version: 1");
        EXPECT_EQ(Label(edit, DialogEdit::kSizeRow), "Size: 400x300");
        EXPECT_EQ(Label(edit, DialogEdit::kPositionRow), "Position: (40, 30)");
        EXPECT_EQ(Label(edit, 0), "3 | Button | text:\"OK\"");
        EXPECT_EQ(Label(edit, 1), "7 | Unknown(zzzz)");
        EXPECT_EQ(edit->List()->ItemCount(), 3 + 1 + 6 + 1 + 3);
        EXPECT_EQ(view->ContentSize(ScrollableWindow::kHorizontal), 432);
        EXPECT_EQ(view->ContentSize(ScrollableWindow::kVertical), 332);
        ui.screenshot("dialog-edit.ppm");

        // Control+A outside the dialog beeps; inside it asks for the new control's data.
        const int beeps = ui.platform().beeps;
        ui.moveTo(at(-6, -6));
        ui.key('A', kModCtrl);
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        EXPECT_EQ(edit->GetDialog().controls.size(), 3u);
        ui.moveTo(at(300, 60));
        ui.key('A', kModCtrl);
        auto* data = dynamic_cast<ControlDataDialog*>(WS().ModalWindow());
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->IdField()->Text(), "8");
        EXPECT_EQ(data->TagField()->Text(), "butt");
        data->TextField()->SetText("Added");
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_EQ(edit->GetDialog().controls.size(), 4u);
        const DialogControl& added = edit->GetDialog().controls[3];
        EXPECT_EQ((std::vector<int>{added.id, added.left, added.top, added.right, added.bottom}),
                  (std::vector<int>{8, 250, 35, 350, 85}));
        EXPECT_EQ(edit->Selected(), 3);
        EXPECT_STREQ(edit->GetName(), "menu*");

        // Control+drag moves; a drag by the right edge resizes; each drag is one action.
        const size_t before = edit->History().Count();
        OsCurrentCallbacks().key(kKeyLeftCtrl, 1);
        ui.drag(at(150, 125), at(160, 130));
        OsCurrentCallbacks().key(kKeyLeftCtrl, 0);
        const DialogControl* first = &edit->GetDialog().controls[0];
        EXPECT_EQ((std::vector<int>{first->left, first->top, first->right, first->bottom}),
                  (std::vector<int>{110, 105, 210, 155}));
        ui.drag(at(208, 130), at(228, 170));
        first = &edit->GetDialog().controls[0];
        EXPECT_EQ((std::vector<int>{first->left, first->top, first->right, first->bottom}),
                  (std::vector<int>{110, 105, 230, 155}));
        EXPECT_EQ(edit->History().Count(), before + 2);
        EXPECT_EQ(edit->Selected(), 0);

        // Control+arrows move by a pixel, Shift+arrows resize; a held key is one action.
        ui.key(kKeyRight, kModCtrl);
        ui.key(kKeyDown, kModShift);
        OsCurrentCallbacks().key(kKeyLeftShift, 1);
        for (int i = 0; i < 3; ++i) OsCurrentCallbacks().key(kKeyRight, 1);  // held: the first press and repeats
        OsCurrentCallbacks().key(kKeyRight, 0);
        OsCurrentCallbacks().key(kKeyLeftShift, 0);
        ui.step();
        first = &edit->GetDialog().controls[0];
        EXPECT_EQ((std::vector<int>{first->left, first->top, first->right, first->bottom}),
                  (std::vector<int>{111, 105, 234, 156}));
        EXPECT_EQ(edit->History().Count(), before + 5);

        // Reordering stops at both ends.
        ui.key('-', kModCtrl);
        EXPECT_EQ(edit->History().Count(), before + 5);
        for (int i = 0; i < 4; ++i) ui.key('=', kModCtrl);
        EXPECT_EQ(edit->GetDialog().controls[3].id, 3);
        EXPECT_EQ(edit->Selected(), 3);
        EXPECT_EQ(edit->History().Count(), before + 8);
        ui.key('-', kModCtrl);
        EXPECT_EQ(edit->GetDialog().controls[2].id, 3);

        // Delete removes the selected control.
        ui.key(kKeyDelete);
        EXPECT_EQ(edit->GetDialog().controls.size(), 3u);
        const std::vector<uint8_t> edited = Bytes(edit->GetDialog());
        const size_t actions = edit->History().Count();

        // Undo everything: the original bytes and no modified mark; redo everything back.
        while (edit->History().CanUndo()) ui.key('Z', kModCtrl);
        EXPECT_EQ(Bytes(edit->GetDialog()), originalBytes);
        EXPECT_STREQ(edit->GetName(), "menu");
        while (edit->History().CanRedo()) ui.key('Y', kModCtrl);
        EXPECT_EQ(Bytes(edit->GetDialog()), edited);
        EXPECT_EQ(edit->History().Count(), actions);
        EXPECT_STREQ(edit->GetName(), "menu*");

        // Edit Control Data from the list: the type chosen by its tag.
        ListWindow* list = edit->List();
        // The order is now 7, 5, 8.
        const Rect row = list->CellRect(list->FindItem(0), 0);
        ui.doubleClick({(row.left + row.right) / 2, (row.top + row.bottom) / 2});
        data = dynamic_cast<ControlDataDialog*>(WS().ModalWindow());
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->IdField()->Text(), "7");
        WS().SetFocus(data->TagField(), kFocusByProgram);
        data->TagField()->SelectAll();
        ui.type("chek");
        EXPECT_EQ(data->TypeBox()->GetText(), "Checkbox");
        data->IdField()->SetText("70000");
        ui.key(kKeyEnter);  // refused: not a 16-bit ID
        ASSERT_EQ(WS().ModalWindow(), data);
        data->IdField()->SetText("9");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(Label(edit, 0), "9 | Checkbox");

        // The dialog's values.
        const Rect version = list->CellRect(list->FindItem(DialogEdit::kSizeRow), 0);
        ui.doubleClick({(version.left + version.right) / 2, (version.top + version.bottom) / 2});
        auto* size = dynamic_cast<DialogValueDialog*>(WS().ModalWindow());
        ASSERT_NE(size, nullptr);
        ui.screenshot("dialog-size.ppm");
        EXPECT_EQ(size->Field()->Text(), "400,300");
        for (const char* refused : {"500", "500,", "500,320x", "99999999999,1", ""}) {
            size->Field()->SetText(refused);
            ui.key(kKeyEnter);
            ASSERT_EQ(WS().ModalWindow(), size) << refused;
        }
        size->Field()->SetText(" 500 , 320 ");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(Label(edit, DialogEdit::kSizeRow), "Size: 500x320");
        // A place the tag's 16 bits cannot hold changes nothing; Cancel neither.
        const Rect position = list->CellRect(list->FindItem(DialogEdit::kPositionRow), 0);
        const Point positionAt{(position.left + position.right) / 2, (position.top + position.bottom) / 2};
        ui.doubleClick(positionAt);
        ASSERT_NE(dynamic_cast<DialogValueDialog*>(WS().ModalWindow()), nullptr);
        dynamic_cast<DialogValueDialog*>(WS().ModalWindow())->Field()->SetText("32600,0");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(Label(edit, DialogEdit::kPositionRow), "Position: (40, 30)");
        ui.doubleClick(positionAt);
        ASSERT_NE(dynamic_cast<DialogValueDialog*>(WS().ModalWindow()), nullptr);
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_EQ(WS().ModalWindow(), nullptr);
        EXPECT_EQ(view->ContentSize(ScrollableWindow::kHorizontal), 532);

        // Preview draws each control in the style of its type.
        ui.click("menu*/Preview");
        EXPECT_TRUE(view->Preview());
        ui.screenshot("dialog-edit-preview.ppm");

        // Saved and reopened as left, the empty text included.
        const std::vector<uint8_t> saved = Bytes(edit->GetDialog());
        ui.key('S', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "menu");
        ui.key('Z', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "menu*");
        ui.key('Y', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "menu");
        edit->Close();
        ui.step();
        auto* reopened = dynamic_cast<DialogEdit*>(OpenTagEditor(record));
        ASSERT_NE(reopened, nullptr);
        EXPECT_EQ(Bytes(reopened->GetDialog()), saved);
        EXPECT_EQ(reopened->GetDialog().controls[0].text, "");
        EXPECT_EQ(reopened->GetDialog().controls[1].text, "Volume");
        reopened->Close();
    });
}
