// The generic structure editor as a tag editor: opened through the group table,
// edited, saved with OK to the loose file; refused tags; Cancel.
#include <gtest/gtest.h>

#include <functional>

#include "editing/AttachmentKinds.h"
#include "editing/StructEditor.h"
#include "editing/TagEditorRegistry.h"
#include "editing/TagStructEdit.h"
#include "tags/TagGroups.h"
#include "tests/definitions/StructTestSupport.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {


std::vector<uint8_t> WindPayload() {
    std::vector<uint8_t> payload(kWindSize, 0);
    PutBe32(payload, kWindDuration, 45);
    PutBe16(payload, kWindSequence, 0xFFFF);
    PutBe16(payload, kWindAlternate, 0xFFFF);
    PutBe32(payload, kWindCollection, 0xFFFFFFFF);
    return payload;
}

}  // namespace

TEST(TagStructEdit, OpensFromTheGroupTableEditsAndSavesWithOK) {
    UiTestDriver ui({.width = 1280, .height = 1024});
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ScratchGame game;
    LoadTestDefinitions();
    RegisterTagEditors(StructDefinitionNames());
    TagRecord* record = MakeGroupTag(kWindGroup, "breeze", WindPayload());
    ASSERT_NE(record, nullptr);
    const std::string path = Codex::Instance().LocalTagPath(kWindGroup, "breeze");

    ui.Run([&](UiTestDriver& ui) {
        // The archive browser opens tags through the group table's editor slot.
        OpenTagGroupEditor(record);
        ui.step();
        auto* editor = dynamic_cast<TagStructEdit*>(EditorOf(record));
        ASSERT_NE(editor, nullptr);
        EXPECT_STREQ(editor->GetName(), "breeze");
        EXPECT_EQ(editor->Client().Width(), editor->Editor()->Frame().Width());

        auto* duration = dynamic_cast<TextBox*>(ui.find("breeze/duration"));
        ASSERT_NE(duration, nullptr);
        EXPECT_EQ(duration->Text(), "1.5");
        auto* collection = dynamic_cast<ComboBox*>(ui.find("breeze/collection"));
        ASSERT_NE(collection, nullptr);
        EXPECT_EQ(collection->GetText(), "<no tag>");
        ui.screenshot("struct-editor.ppm");

        ReplaceText(ui, "breeze/duration", "2.5");
        EXPECT_EQ(editor->IsModified(), 1);
        EXPECT_STREQ(editor->GetName(), "breeze*");
        ui.click("breeze*/OK");
        ui.step(2);
        EXPECT_EQ(EditorOf(record), nullptr);  // closed after saving
    });
    const std::string payload = LoosePayload(path);
    ASSERT_EQ(payload.size(), kWindSize);
    EXPECT_EQ(GetBe32(payload, kWindDuration), 75u);
    EXPECT_EQ(GetBe32(payload, kWindCollection), 0xFFFFFFFFu);
}

TEST(TagStructEdit, RefusesTagsWithoutLayoutOrOfAnotherSizeAndCancelKeepsTheFile) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ScratchGame game;
    LoadTestDefinitions({"<tamberxmlfile><struct name='glli'><long name='level'/></struct></tamberxmlfile>"});
    RegisterTagEditors(StructDefinitionNames());
    EXPECT_EQ(FindTagEditorFactory(FourCC("glli")), &TagStructEdit::Create);
    EXPECT_EQ(FindTagEditorFactory(FourCC("loli")), nullptr);

    TagRecord* unlaid = MakeGroupTag(FourCC("glli"), "lamp", {0, 0, 0, 7});
    std::vector<uint8_t> shortPayload = WindPayload();
    shortPayload.pop_back();
    TagRecord* truncated = MakeGroupTag(kWindGroup, "short", shortPayload);
    TagRecord* calm = MakeGroupTag(kWindGroup, "calm", WindPayload());
    ASSERT_TRUE(unlaid && truncated && calm);
    const std::string calmPath = Codex::Instance().LocalTagPath(kWindGroup, "calm");
    const std::string before = FileBytes(calmPath);

    ui.Run([&](UiTestDriver& ui) {
        auto* opener = new Opener;
        for (TagRecord* record : {unlaid, truncated}) {
            TagEdit* made = reinterpret_cast<TagEdit*>(1);
            opener->action = [&] { made = OpenTagEditor(record); };
            ui.click(UiTestDriver::center(opener));
            EXPECT_EQ(BoxText(), "The tag could not be loaded.");
            ui.click("Error/OK");
            ui.step();
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(EditorOf(record), nullptr);
        }

        TagEdit* editor = OpenTagEditor(calm);
        ASSERT_NE(editor, nullptr);
        ui.step();
        ReplaceText(ui, "calm/level", "12");
        EXPECT_EQ(editor->IsModified(), 1);
        ui.click("calm*/Cancel");
        ui.step(2);
        EXPECT_EQ(EditorOf(calm), nullptr);
        opener->Close();
    });
    EXPECT_EQ(FileBytes(calmPath), before);
}
