// The tag editor base: opening once per tag, the title, Control+S, the save prompt,
// new tags, changes made by other writers, the registration order and the
// program's message-box prompts.
#include <gtest/gtest.h>

#include <functional>

#include "editing/AttachmentKinds.h"
#include "editing/TagEdit.h"
#include "editing/TagEditorRegistry.h"
#include "editing/WindowTagPrompts.h"
#include "platform/fs/AtomicFileWriter.h"
#include "tags/TagGroups.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::platform;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

class NoteEdit : public TagEdit {
public:
    // Like every real editor, the keyboard goes to a control inside the frame.
    explicit NoteEdit(TagRecord* record) : TagEdit(record), field(new Window(kStyleControl, this)) {
        SetFrameXYWH(0, 0, 320, 200);
        field->SetFrameXYWH(0, 0, 100, 20);
        SetFocusChild(field);
    }
    const char* GetClassName() const override { return "NoteEdit"; }
    int ParsePayload(FILE* stream, const TagHeader& header) override {
        ++loads;
        return ReadTextPayload(stream, header, text);
    }
    int WritePayload(FILE* stream, const TagHeader&) override { return WriteTextPayload(stream, text); }
    int DiscardChanges() override { return ++discards, 1; }
    void Change(const std::string& value) {
        text = value;
        SetModified(1);
    }
    static TagEdit* Create(TagRecord* record) { return new NoteEdit(record); }
    bool HasFocus() const { return WS().Focus() == field; }

    Window* field;

    std::string text;
    static inline int loads = 0;
    static inline int discards = 0;
};

}  // namespace

TEST(TagEdit, OpenSaveAndClosePrompt) {
    ScratchGame game;
    TagRecord* record = MakeLooseTag("note", "TXT1first");
    ASSERT_NE(record, nullptr);
    const std::string path = game.LoosePath("note");
    SetTagEditorFactory(kTestGroup, &NoteEdit::Create);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        NoteEdit::loads = NoteEdit::discards = 0;
        auto* edit = static_cast<NoteEdit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step();
        EXPECT_STREQ(edit->GetName(), "note");
        EXPECT_EQ(edit->text, "first");
        EXPECT_TRUE(edit->IsShown());
        EXPECT_TRUE(edit->HasFocus());
        EXPECT_EQ(EditorOf(record), edit);

        // A second open reuses the editor, brings it back to the front and reads nothing.
        auto* other = new Window(kStyleDocument | kStyleVisible | kStyleFocusable, nullptr);
        other->SetFrameXYWH(10, 10, 100, 100);
        other->BringToFront();
        WS().SetFocus(other, kFocusByProgram);
        EXPECT_EQ(OpenTagEditor(record), edit);
        EXPECT_EQ(edit->Parent()->FirstChild(), edit);
        EXPECT_TRUE(edit->HasFocus());
        EXPECT_EQ(NoteEdit::loads, 1);
        other->Close();

        edit->Change("second");
        EXPECT_STREQ(edit->GetName(), "note*");
        ui.key('S', kModCtrl);
        EXPECT_EQ(LoosePayload(path), "TXT1second");
        EXPECT_STREQ(edit->GetName(), "note");
        EXPECT_EQ(edit->IsModified(), 0);
        // A clean editor saves all the same.
        edit->text = "third";
        ui.key('S', kModCtrl);
        EXPECT_EQ(LoosePayload(path), "TXT1third");

        // A failed save reports, keeps the file and the changes.
        edit->Change("lost");
        AtomicFileWriter::FailNextCommit();
        ui.key('S', kModCtrl);
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_EQ(BoxText(), "The save operation could not be completed.");
        ui.click("Error/OK");
        EXPECT_EQ(LoosePayload(path), "TXT1third");
        EXPECT_STREQ(edit->GetName(), "note*");
        ui.click(UiTestDriver::center(edit->field));  // the keyboard back to the editor

        // Closing asks; Cancel keeps the window.
        ui.key('W', kModCtrl);
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_STREQ(OpenBox()->GetName(), "Save?");
        EXPECT_EQ(BoxText(), "Do you wish to save your changes to 'note'?");
        ui.click("Save?/Cancel");
        ui.step();
        EXPECT_EQ(EditorOf(record), edit);
        EXPECT_EQ(edit->IsModified(), 1);
        ui.click(UiTestDriver::center(edit->field));

        // Save that fails: the error, then the window stays open and modified.
        ui.key('W', kModCtrl);
        AtomicFileWriter::FailNextCommit();
        ui.click("Save?/Save");
        ui.step();
        EXPECT_EQ(BoxText(), "The save operation could not be completed.");
        ui.click("Error/OK");
        ui.step();
        EXPECT_EQ(EditorOf(record), edit);
        EXPECT_EQ(edit->IsModified(), 1);
        EXPECT_EQ(LoosePayload(path), "TXT1third");
        ui.click(UiTestDriver::center(edit->field));

        // Discard drops the changes, writes nothing and closes.
        ui.key('W', kModCtrl);
        ui.click("Save?/Discard");
        ui.step(2);
        EXPECT_EQ(NoteEdit::discards, 1);
        EXPECT_EQ(EditorOf(record), nullptr);
        EXPECT_EQ(LoosePayload(path), "TXT1third");

        // Save writes, then closes.
        edit = static_cast<NoteEdit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text, "third");
        EXPECT_TRUE(edit->HasFocus());
        edit->Change("fifth");
        ui.key('W', kModCtrl);
        ui.click("Save?/Save");
        ui.step(2);
        EXPECT_EQ(OpenBox(), nullptr);
        EXPECT_EQ(EditorOf(record), nullptr);
        EXPECT_EQ(LoosePayload(path), "TXT1fifth");
    });
    SetTagEditorFactory(kTestGroup, nullptr);
}

TEST(TagEdit, NewTagsOtherWritersAndMissingEditors) {
    ScratchGame game;
    TagRecord* record = MakeLooseTag("note", "TXT1first");
    ASSERT_NE(record, nullptr);
    SetTagEditorFactory(kTestGroup, &NoteEdit::Create);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Codex& codex = Codex::Instance();
        // No editor for the group: nothing opens and nothing is asked.
        TagRecord* orphan = CreateTag(codex, FourCC("unit"), std::nullopt, "orphan", false)->record;
        EXPECT_EQ(OpenTagEditor(orphan), nullptr);
        EXPECT_EQ(OpenBox(), nullptr);

        // An unreadable payload: reported, and no editor stays attached.
        TagRecord* broken = MakeLooseTag("broken", "junk");
        auto* opener = new Opener;
        TagEdit* made = nullptr;
        opener->action = [&] { made = OpenTagEditor(broken); };
        ui.click(UiTestDriver::center(opener));
        EXPECT_EQ(BoxText(), "The tag could not be loaded.");
        ui.click("Error/OK");
        ui.step();
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(EditorOf(broken), nullptr);

        opener->action = [&] { made = PromptNewTag(kTestGroup, "draft"); };
        ui.step();
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_STREQ(OpenBox()->GetName(), "Enter Name for Text");
        EXPECT_EQ(OpenBox()->InputText(), "draft");
        ui.click("Enter Name for Text/Cancel");
        ui.step();
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(made, nullptr);

        // An empty name is refused.
        ui.click(UiTestDriver::center(opener));
        OpenBox()->TextField()->SetText("");
        ui.click("Enter Name for Text/Create Text");
        ui.step();
        EXPECT_EQ(BoxText(), "You must specify a name.");
        ui.click("Not Created/OK");
        ui.step();
        EXPECT_EQ(made, nullptr);

        // A taken name: reported, and the editor goes.
        ui.click(UiTestDriver::center(opener));
        OpenBox()->TextField()->SetText("note");
        ui.click("Enter Name for Text/Create Text");
        ui.step();
        EXPECT_EQ(BoxText(), "The tag file 'note' could not be created; It may already exist.");
        ui.click("Error/OK");
        ui.step();
        EXPECT_EQ(made, nullptr);
        EXPECT_EQ(LoosePayload(game.LoosePath("note")), "TXT1first");

        // A new tag is shown modified, and discarding it writes nothing.
        ui.click(UiTestDriver::center(opener));
        ui.click("Enter Name for Text/Create Text");
        ui.step();
        ASSERT_NE(made, nullptr);
        EXPECT_STREQ(made->GetName(), "draft*");
        EXPECT_TRUE(made->IsShown());
        EXPECT_EQ(EditorOf(made->Record()), made);
        EXPECT_FALSE(std::filesystem::exists(game.LoosePath("draft")));
        ui.click(UiTestDriver::center(static_cast<NoteEdit*>(made)->field));
        ui.key('W', kModCtrl);
        ui.click("Save?/Discard");
        ui.step(2);
        EXPECT_FALSE(std::filesystem::exists(game.LoosePath("draft")));

        // Another writer changes, then removes the file: the editor keeps its content
        // and its record (an open tag keeps its entry), and its next save writes the file again.
        auto* edit = static_cast<NoteEdit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        const uint32_t tagid = record->tagid;
        std::string bytes = FileBytes(game.LoosePath("note"));
        bytes.back() = '!';
        std::ofstream(game.LoosePath("note"), std::ios::binary) << bytes;
        codex.RefreshLocalFolder(true);
        EXPECT_EQ(edit->text, "first");
        std::filesystem::remove(game.LoosePath("note"));
        codex.RefreshLocalFolder(true);
        EXPECT_FALSE(std::filesystem::exists(game.LoosePath("note")));
        EXPECT_EQ(codex.FindTag(kTestGroup, tagid), record);
        EXPECT_EQ(EditorOf(record), edit);
        ui.key('S', kModCtrl);
        EXPECT_EQ(LoosePayload(game.LoosePath("note")), "TXT1first");
        codex.RefreshLocalFolder(true);
        EXPECT_EQ(codex.FindTag(kTestGroup, tagid), record);
        edit->Close();
        ui.step();
        EXPECT_EQ(EditorOf(record), nullptr);

        // The program's questions are message boxes.
        InstallWindowTagPrompts();
        TagRecord* created = record;
        opener->action = [&] {
            Result<NewTag> asked = CreateTagAsking(codex, ProgramTagPrompts(), kTestGroup, std::nullopt, "note");
            created = asked ? asked->record : nullptr;
        };
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_STREQ(OpenBox()->GetName(), "Overwrite Tag?");
        ui.click("Overwrite Tag?/Don't Overwrite");
        ui.step();
        EXPECT_EQ(created, nullptr);
        EXPECT_EQ(LoosePayload(game.LoosePath("note")), "TXT1first");
        opener->Close();
    });
    SetTagEditorFactory(kTestGroup, nullptr);
}

TEST(TagEditorRegistry, LaterRowsReplaceEarlierOnes) {
    auto structureEditor = [](TagRecord*) -> TagEdit* { return nullptr; };
    auto meshEditor = [](TagRecord*) -> TagEdit* { return nullptr; };
    const std::vector<TagEditorRegistration> rows = {
        {kEveryStructureGroup, "TagStructEdit", structureEditor},
        {FourCC("mesh"), "MeshEdit", meshEditor},
        {FourCC("soun"), "SoundEdit", nullptr},
    };
    ApplyTagEditorRegistrations(rows, {"mesh", "unit", "Unit", "units", "zzzz"});
    EXPECT_EQ(FindTagEditorFactory(FourCC("mesh")), +meshEditor);
    EXPECT_EQ(FindTagEditorFactory(FourCC("unit")), +structureEditor);
    EXPECT_NE(FindTagGroup(FourCC("unit"))->editor, nullptr);
    EXPECT_EQ(FindTagEditorFactory(FourCC("soun")), nullptr);
    EXPECT_EQ(FindTagEditorFactory(FourCC("zzzz")), nullptr);
    EXPECT_EQ(StructureDefinitionGroup("units"), 0u);
    // The structure editor comes first so that every dedicated editor replaces it.
    EXPECT_EQ(TagEditorRegistrations().front().group, kEveryStructureGroup);
}
