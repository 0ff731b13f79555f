// The tag information window: its fields and title, the apply rules in their order
// (in use, subgroup length, empty name, taken tagid, success moving the window to
// the resulting record), the close question, and one window per tag.
#include <gtest/gtest.h>

#include <functional>

#include "editing/TagEditorRegistry.h"
#include "editing/TagInfoWindow.h"
#include "editing/TextEdit.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/RectOps.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

using Field = TagInfoWindow::Field;


void* InfoOf(TagRecord* record) { return Codex::Instance().FindAttachment(record, kAttachTagInfo); }

std::string FieldText(TagInfoWindow* info, Field field) { return info->FieldBox(field)->Text(); }

// Types into a field as the user does, replacing what it holds.
void Retype(UiTestDriver& ui, TagInfoWindow* info, Field field, const std::string& text) {
    ui.click(UiTestDriver::center(info->FieldBox(field)));
    ui.key('A', kModCtrl);
    ui.type(text.empty() ? "\b" : text);
}

// Control+S in the window; expects the refusal box with this text and closes it.
void ExpectRefusal(UiTestDriver& ui, TagInfoWindow* info, const std::string& text) {
    ui.click(UiTestDriver::center(info->FieldBox(TagInfoWindow::kFieldName)));
    ui.key('S', kModCtrl);
    ASSERT_NE(OpenBox(), nullptr) << text;
    EXPECT_STREQ(OpenBox()->GetName(), "Error");
    EXPECT_EQ(BoxText(), text);
    ui.click("Error/OK");
    ui.step();
}

}  // namespace

TEST(TagInfoWindow, FieldsApplyRulesAndTheCloseQuestion) {
    ScratchGame game;
    SetTagEditorFactory(kTestGroup, &TextEdit::Create);
    TagRecord* note = MakeLooseTag("note", "some text");
    TagRecord* other = MakeLooseTag("other", "more");
    ASSERT_TRUE(note && other);
    const uint32_t noteId = note->tagid;

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Codex& codex = Codex::Instance();
        auto* info = static_cast<TagInfoWindow*>(ShowTagInfo(note));
        ASSERT_NE(info, nullptr);
        ui.step();
        EXPECT_STREQ(info->GetName(), "Tag Info: note");
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldName), "note");
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldSubgroup), FourCCText(noteId));
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldGroup), "text");
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldSize), "9");
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldLocation), "local folder");
        EXPECT_EQ(InfoOf(note), static_cast<Window*>(info));
        ui.screenshot("tag-info.ppm");
        // Every field lies inside the window and beside, not over, the one above.
        for (int i = 0, above = 0; i < TagInfoWindow::kFieldCount; above = info->FieldBox(Field(i++))->Frame().bottom) {
            const Rect box = info->FieldBox(Field(i))->Frame();
            EXPECT_EQ(RectIntersection(box, info->Client()), box) << i;
            EXPECT_GE(box.top, above) << i;
        }
        // A second request brings the same window forward.
        EXPECT_EQ(ShowTagInfo(note), info);

        // The tag open in an editor: refused first, whatever else is wrong.
        TagEdit* editor = OpenTagEditor(note);
        ASSERT_NE(editor, nullptr);
        info->BringToFront();
        Retype(ui, info, TagInfoWindow::kFieldSubgroup, "ab");
        EXPECT_STREQ(info->GetName(), "Tag Info: note*");
        ExpectRefusal(ui, info, "Tag information for 'note' could not be updated because the tag is still in use.");
        editor->Close();
        ui.step();

        // Then the subgroup length (before the empty name), then the name.
        Retype(ui, info, TagInfoWindow::kFieldName, "");
        ExpectRefusal(ui, info, "The subgroup id must be exactly 4 characters long.");
        Retype(ui, info, TagInfoWindow::kFieldSubgroup, FourCCText(other->tagid));
        ExpectRefusal(ui, info, "The name field must not be empty.");
        // A tagid another loose tag of the group holds.
        Retype(ui, info, TagInfoWindow::kFieldName, "renamed");
        ExpectRefusal(ui, info,
                      "A tag with the specified group and subgroup combination already exists in the local folder.");
        const std::string oldPath = *note->localEntry->path;
        EXPECT_EQ(codex.FindTag(kTestGroup, noteId), note);

        // Success: the file renamed and re-identified, the window on the new record.
        Retype(ui, info, TagInfoWindow::kFieldSubgroup, "nwid");
        ui.key('S', kModCtrl);
        EXPECT_EQ(OpenBox(), nullptr);
        TagRecord* moved = codex.FindTag(kTestGroup, FourCC("nwid"));
        ASSERT_NE(moved, nullptr);
        EXPECT_EQ(info->Record(), moved);
        EXPECT_EQ(InfoOf(moved), static_cast<Window*>(info));
        EXPECT_EQ(codex.FindTag(kTestGroup, noteId), nullptr);
        EXPECT_FALSE(std::filesystem::exists(oldPath));
        EXPECT_EQ(LoosePayload(game.LoosePath("renamed")), "some text");
        EXPECT_STREQ(info->GetName(), "Tag Info: renamed");
        EXPECT_FALSE(info->IsModified());
        EXPECT_EQ(FieldText(info, TagInfoWindow::kFieldSubgroup), "nwid");

        // Closing with changes asks; Cancel keeps the window, Discard closes it unchanged.
        Retype(ui, info, TagInfoWindow::kFieldName, "never");
        ui.key('W', kModCtrl);
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_STREQ(OpenBox()->GetName(), "Save?");
        EXPECT_EQ(BoxText(), "Do you wish to save your changes to the tag?");
        ui.click("Save?/Cancel");
        ui.step();
        EXPECT_EQ(InfoOf(moved), static_cast<Window*>(info));
        ui.click(UiTestDriver::center(info->FieldBox(TagInfoWindow::kFieldName)));
        ui.key('W', kModCtrl);
        ui.click("Save?/Discard");
        ui.step(2);
        EXPECT_EQ(InfoOf(moved), nullptr);
        EXPECT_FALSE(std::filesystem::exists(game.LoosePath("never")));
    });
    SetTagEditorFactory(kTestGroup, nullptr);
}
