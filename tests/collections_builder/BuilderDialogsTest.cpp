// The two builder dialogs driven in-process on the demo game folder: the checks
// in their order, the numbered logs, the tag the standard build writes (the same
// bytes as the library's build) and the up-res of an archived collection.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/MessageLog.h"
#include "base/Preferences.h"
#include "demo/DemoGame.h"
#include "tests/collections_builder/BuilderTestSupport.h"
#include "tests/ui/support/DialogDriving.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/AutoCollectionDialog.h"
#include "tools/AutoUpResDialog.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::base;
using namespace tamber::demo;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::widgets;
using namespace test_support;

namespace {

TextBox* Field(UiTestDriver& ui, const std::string& path) { return dynamic_cast<TextBox*>(ui.find(path)); }

const MessageLog::Channel* ChannelStarting(const std::string& prefix) {
    for (const MessageLog::Channel& channel : MessageLog::Instance().Channels())
        if (channel.name.rfind(prefix, 0) == 0) return &channel;
    return nullptr;
}

}  // namespace

TEST(BuilderDialogs, StandardAndHighResBuildsFromTheMenu) {
    Scratch scratch;
    const std::string game = scratch / "game/", renders = scratch / "renders/";
    ASSERT_TRUE(GenerateDemoGame(game, DemoOptions{}));
    WriteRenders(renders + "walk(2,2)", 4);
    Preferences::Instance().SetPath(scratch / "prefs.txt");
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        Codex::Instance().Init(game);
        ui.step();
        auto* opener = new Opener(&RunAutoCollectionBuild);
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(WaitFor(ui, "Build Standard Collection"), nullptr);
        // The checks in their order, each keeping the dialog open.
        ui.click("Build Standard Collection/OK");
        EXPECT_EQ(BoxText(ui, "Error"), "Specified folder not found.");
        ui.click("Error/OK");
        Field(ui, "Build Standard Collection/Path")->SetText(renders);
        ui.click("Build Standard Collection/OK");
        EXPECT_EQ(BoxText(ui, "Error"), "The name field is invalid.");
        ui.click("Error/OK");
        Field(ui, "Build Standard Collection/Name")->SetText("menu built");
        Field(ui, "Build Standard Collection/RegX")->SetText("-4097");
        ui.click("Build Standard Collection/OK");
        EXPECT_EQ(BoxText(ui, "Error"), "The Reg Point X value is invalid.");
        ui.click("Error/OK");
        Field(ui, "Build Standard Collection/RegX")->SetText("4096");
        Field(ui, "Build Standard Collection/RegY")->SetText("12");
        Field(ui, "Build Standard Collection/Tagid")->SetText("mnub");
        ui.click("Build Standard Collection/OK");
        for (int i = 0; i < 600 && opener->running; ++i) ui.step(1);
        EXPECT_FALSE(opener->running);
        std::string saved;
        EXPECT_TRUE(GetPrefString("AutoCollectionDialog.Name", saved) && saved == "menu built");
        const MessageLog::Channel* log = ChannelStarting("BuildCollection ");
        ASSERT_NE(log, nullptr);
        EXPECT_EQ(log->name.substr(log->name.find(' ', 16)), " (" + renders + ")");
        EXPECT_NE(log->text.find("Writing collection data to disk...ok.\n"), std::string::npos);
        TagRecord* built = Codex::Instance().FindTag(kCollectionGroupCode, FourCCFromText("mnub"));
        ASSERT_TRUE(built && built->localEntry);
        const auto fromDialog = tamber::platform::ReadFileBytes(*built->localEntry->path, 1 << 24);

        // The same tagid again: asked first; "Don't Overwrite" ends it.
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(WaitFor(ui, "Build Standard Collection"), nullptr);
        EXPECT_EQ(Field(ui, "Build Standard Collection/Name")->Text(), "menu built");  // remembered
        ui.click("Build Standard Collection/OK");
        EXPECT_EQ(BoxText(ui, "Overwrite Tag?"),
                  "Another collection with the same tagid exists in the local folder. Do you want to replace it?");
        ui.click("Overwrite Tag?/Don't Overwrite");
        for (int i = 0; i < 60 && opener->running; ++i) ui.step(1);
        EXPECT_FALSE(opener->running);
        opener->Close();

        // The library's build of the same inputs writes the same bytes.
        Codex other;
        std::filesystem::create_directories(scratch / "other/local");
        other.Init(scratch / "other");
        StandardBuildOptions options{renders, "menu built", 4096, 12, kViewsThenFrames, false};
        Result<TagRecord*> library = BuildCollectionTag(other, options, FourCCFromText("mnub"), false, BuildLog());
        ASSERT_TRUE(library.ok());
        EXPECT_EQ(tamber::platform::ReadFileBytes(*(*library)->localEntry->path, 1 << 24).value(), fromDialog.value());

        // High-res: the checks, then a run whose scale is too small writes nothing.
        auto* upres = new Opener(&RunAutoUpRes);
        ui.click(UiTestDriver::center(upres));
        auto* dialog = dynamic_cast<AutoUpResDialog*>(WaitFor(ui, "Build High-Res Collection"));
        ASSERT_NE(dialog, nullptr);
        ui.click("Build High-Res Collection/Create");
        EXPECT_EQ(BoxText(ui, "Error"), "You must choose a collection.");
        ui.click("Error/OK");
        int sprites = -1;
        for (int i = 0; i < dialog->CollectionChooser()->ItemCount(); ++i)
            if (dialog->CollectionChooser()->ItemText(i) == "demo sprites (spri)") sprites = i;
        ASSERT_GE(sprites, 0);
        dialog->CollectionChooser()->SelectItem(sprites);
        Field(ui, "Build High-Res Collection/HighResPath")->SetText(renders);
        Field(ui, "Build High-Res Collection/Scale")->SetText("33");
        ui.click("Build High-Res Collection/Create");
        EXPECT_EQ(BoxText(ui, "Error"), "Invalid scale.");
        ui.click("Error/OK");
        Field(ui, "Build High-Res Collection/Scale")->SetText("2");
        ui.click("Build High-Res Collection/Create");
        EXPECT_NE(BoxText(ui, "Error").find("was not written"), std::string::npos);
        ui.click("Error/OK");
        for (int i = 0; i < 60 && upres->running; ++i) ui.step(1);
        const MessageLog::Channel* upresLog = ChannelStarting("UpRes ");
        ASSERT_NE(upresLog, nullptr);
        EXPECT_NE(upresLog->text.find("scanning sequence 'walk (8 views, mirrored)'\n"), std::string::npos);
        EXPECT_EQ(Codex::Instance().FindTag(kCollectionGroupCode, FourCCFromText("spri"))->localEntry, nullptr);
        upres->Close();
        ui.step(2);
    });
}
