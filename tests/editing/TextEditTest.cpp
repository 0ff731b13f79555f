// The text tag editor: registered for the five text groups, a text read with its
// carriage returns, typing saved with Control+S into the loose file, a text it
// would damage refused, and "New Script".
#include <gtest/gtest.h>

#include <functional>

#include "editing/TagEditorRegistry.h"
#include "editing/TextEdit.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {


}  // namespace

TEST(TextEdit, ReadsTypesAndSavesTextTags) {
    ScratchGame game;
    RegisterTagEditors();
    for (const char* group : {"ditl", "scri", "stli", "temp", "text"})
        EXPECT_EQ(FindTagEditorFactory(FourCCFromText(group)), &TextEdit::Create) << group;

    TagRecord* notes = MakeLooseTag("notes", "one\rtwo\r\r");
    TagRecord* broken = MakeLooseTag("broken", std::string("kept\0lost", 9));
    ASSERT_TRUE(notes && broken);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        // A text keeps its carriage returns; what is typed is saved with Control+S.
        auto* text = dynamic_cast<TextEdit*>(OpenTagEditor(notes));
        ASSERT_NE(text, nullptr);
        ui.step();
        EXPECT_EQ(text->Editor()->Text(), "one\rtwo\r\r");
        EXPECT_EQ(text->Frame().Width(), TextEdit::kWidth);
        EXPECT_EQ(text->Editor()->Frame(), text->Client());
        ui.type("Hi\n");
        EXPECT_STREQ(text->GetName(), "notes*");
        ui.screenshot("text-edit.ppm");
        ui.key('S', kModCtrl);
        EXPECT_STREQ(text->GetName(), "notes");
        EXPECT_EQ(LoosePayload(game.LoosePath("notes")), "Hi\rone\rtwo\r\r");
        text->Close();
        ui.step();

        // A text that goes on after a NUL shows the text before it; a save keeps the rest unchanged.
        auto* opener = new Opener;
        TagEdit* made = nullptr;
        opener->action = [&] { made = OpenTagEditor(broken); };
        ui.click(UiTestDriver::center(opener));
        auto* kept = dynamic_cast<TextEdit*>(made);
        ASSERT_NE(kept, nullptr);
        ui.step();
        EXPECT_EQ(kept->Editor()->Text(), "kept");
        ui.type("A");
        ui.key('S', kModCtrl);
        EXPECT_EQ(LoosePayload(game.LoosePath("broken")), std::string("Akept\0lost", 10));
        kept->Close();
        ui.step();

        // New Script: named, shown modified, written only when saved.
        opener->action = [&] { NewScript(); };
        ui.click(UiTestDriver::center(opener));
        auto* ask = static_cast<MessageBoxWindow*>(WS().ModalWindow());
        ASSERT_NE(ask, nullptr);
        ask->TextField()->SetText("intro");
        ui.click("Enter Name for Script/Create Script");
        ui.step();
        auto* script = dynamic_cast<TextEdit*>(ui.find("intro*"));
        ASSERT_NE(script, nullptr);
        const std::string path = Codex::Instance().LocalTagPath(FourCC("scri"), "intro");
        EXPECT_FALSE(std::filesystem::exists(path));
        ui.type("go\nstop");
        ui.key('S', kModCtrl);
        EXPECT_EQ(LoosePayload(path), "go\rstop");
        script->Close();
        opener->Close();
    });
}
