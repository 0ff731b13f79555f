// The sound editor driven as a user would: the list's texts, the layout, export
// through the folder dialog (names kept inside the folder, replaced files logged,
// failures shown without partial files), playback refused without a device and
// played on ALSA's null device, and a sound that does not read refused.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/MessageLog.h"
#include "base/Preferences.h"
#include "platform/fs/AtomicFileWriter.h"
#include "sounds/editor/SoundEdit.h"
#include "editing/TagEditorRegistry.h"
#include "tests/editing/EditingTestSupport.h"
#include "tests/editing/EditingUiSupport.h"
#include "tests/sounds/SoundTestSupport.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/Button.h"

using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::sounds;
using namespace tamber::sounds::editor;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kSoundGroup = FourCC("soun");

std::string SoundPayload() {
    Sound sound;
    sound.permutations.push_back(sound_test::Permutation("mono", 1, 22050, 64));
    sound.permutations.push_back(sound_test::Permutation("stereo", 2, 22050, 128));
    sound.permutations.push_back(sound_test::Permutation("silent", 1, 11025, 0));
    sound.permutations.push_back(sound_test::Permutation("../../up/and away", 1, 8000, 64 * 200));
    sound.permutations.push_back(sound_test::Permutation("A twenty-five-char name!!", 2, 44100, 640));
    const std::vector<uint8_t> bytes = WriteSoundPayload(sound);
    return {bytes.begin(), bytes.end()};
}

std::string LogText() {
    const MessageLog::Channel* channel = MessageLog::Instance().Find("Sound Export");
    return channel ? channel->text : std::string();
}

}  // namespace

TEST(SoundEdit, ListsExportsAndPlays) {
    ScratchGame game;
    SetTagEditorFactory(kSoundGroup, &SoundEdit::Create);
    TagRecord* record = MakeLooseTag("gust", SoundPayload(), kSoundGroup);
    TagRecord* broken = MakeLooseTag("broken", std::string(70, '\x7f'), kSoundGroup);
    ASSERT_TRUE(record && broken);
    const fs::path folder = fs::path(game.Path()) / "exported";
    fs::create_directories(folder);

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* edit = dynamic_cast<SoundEdit*>(OpenTagEditor(record));
        ASSERT_NE(edit, nullptr);
        ui.step();
        EXPECT_EQ(edit->Frame().Width(), SoundEdit::kWidth);
        EXPECT_EQ(edit->Frame().Height(), SoundEdit::kHeight);
        ListWindow* list = edit->List();
        ASSERT_EQ(list->Columns().size(), 5u);
        EXPECT_EQ(list->Columns()[4].title, "Sample Rate");
        EXPECT_EQ(list->MissingColumnsWidth(), 0);
        EXPECT_EQ(list->ItemCount(), 5);
        EXPECT_EQ(list->Frame().bottom, edit->Client().bottom - SoundEdit::kStripHeight);
        const ListWindow::ListItem* stereo = list->FindItem(1);
        EXPECT_EQ(list->CellText(stereo, 1), "00:00");
        EXPECT_EQ(list->CellText(stereo, 2), "16");
        EXPECT_EQ(list->CellText(stereo, 3), "2 (stereo)");
        EXPECT_EQ(list->CellText(stereo, 4), "22050 Hz");
        EXPECT_EQ(list->CellText(list->FindItem(0), 3), "1 (mono)");
        EXPECT_EQ(list->CellText(list->FindItem(3), 1), "00:01");
        Window* exportSelected = ui.find("gust/Export Selected");
        Window* exportAll = ui.find("gust/Export All");
        ASSERT_TRUE(exportSelected && exportAll);
        EXPECT_EQ(exportSelected->Frame().left, edit->Client().left + 8);
        EXPECT_EQ(exportSelected->Frame().top, edit->Client().bottom - 40);
        EXPECT_EQ(exportAll->Frame().left, exportSelected->Frame().right + 8);
        ui.screenshot("sound-edit.ppm");

        // Export Selected without a selection does nothing.
        ui.click("gust/Export Selected");
        EXPECT_EQ(WS().ModalWindow(), nullptr);

        // Export All through the folder dialog, into the folder it shows.
        SetPrefString("LastSoundFolderPath", folder.string());
        ui.click("gust/Export All");
        ASSERT_STREQ(WS().ModalWindow()->GetName(), "Choose Sound Folder");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(fs::file_size(folder / "mono.wav"), 172u);
        EXPECT_EQ(fs::file_size(folder / "silent.wav"), 44u);
        EXPECT_EQ(fs::file_size(folder / ".._.._up_and away.wav"), 44u + 200 * 128);
        EXPECT_TRUE(fs::exists(folder / "A twenty-five-char name!!.wav"));
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 5);
        EXPECT_EQ(LogText().find("INFO: replaced"), std::string::npos);

        // The selected rows again: replaced files are said so.
        list->SelectListItem(list->FindItem(0), false);
        list->SelectListItem(list->FindItem(2), true);
        ui.click("gust/Export Selected");
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_NE(LogText().find("INFO: replaced '" + (folder / "mono.wav").string() + "'"), std::string::npos);
        EXPECT_NE(LogText().find("INFO: replaced '" + (folder / "silent.wav").string() + "'"), std::string::npos);

        // A write that fails is shown, and the old file stays whole.
        const std::uintmax_t before = fs::file_size(folder / "mono.wav");
        auto* opener = new Opener;
        opener->action = [&] {
            AtomicFileWriter::FailNextWriterAfter(100);
            edit->ExportTo({0}, folder.string());
        };
        ui.click(UiTestDriver::center(opener));
        ASSERT_TRUE(opener->running);
        EXPECT_NE(BoxText().find("1 sound file could not be written"), std::string::npos) << BoxText();
        EXPECT_NE(BoxText().find((folder / "mono.wav").string()), std::string::npos) << BoxText();
        ui.key(kKeyEnter);
        ui.step();
        EXPECT_EQ(fs::file_size(folder / "mono.wav"), before);
        // The focus goes back where it was a frame after the box closes.
        ui.step();
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 5);

        // Playing without an audio device says so; with one, the interface goes on while it plays.
        SoundPlayer::SetDeviceName("tamber-no-such-device");
        WS().SetFocus(list, kFocusByProgram);
        list->SelectListItem(list->FindItem(3), false);
        ui.key(' ');
        ASSERT_NE(OpenBox(), nullptr);
        EXPECT_NE(BoxText().find("Couldn't play \"../../up/and away\": no audio device could be opened"),
                  std::string::npos)
            << BoxText();
        ui.key(kKeyEnter);
        ui.step();
        SoundPlayer::SetDeviceName("null");
        ui.click("gust/Play");
        EXPECT_EQ(WS().ModalWindow(), nullptr);
        for (int round = 0; round < 2000 && edit->Player().IsPlaying(); ++round) {
            ui.step();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(edit->Player().FramesWritten(), 64u * 200);
        ui.click("gust/Stop");
        EXPECT_FALSE(edit->Player().IsPlaying());
        SoundPlayer::SetDeviceName("default");

        // Nothing changes the tag, so Control+S writes nothing.
        ui.key('S', kModCtrl);
        EXPECT_STREQ(edit->GetName(), "gust");
        edit->Close();
        ui.step();

        // A sound that does not read does not open.
        TagEdit* refused = nullptr;
        opener->action = [&] { refused = OpenTagEditor(broken); };
        ui.click(UiTestDriver::center(opener));
        if (opener->running) {
            ui.key(kKeyEnter);
            ui.step();
        }
        EXPECT_EQ(refused, nullptr);
        EXPECT_EQ(EditorOf(broken), nullptr);
        opener->Close();
    });
}
