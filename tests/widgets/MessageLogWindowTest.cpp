// The log viewer: channels compared without regard to case, text stored before the
// viewer existed, levels that show it, closing that only hides it.
#include <gtest/gtest.h>

#include <string>

#include "base/MessageLog.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/TextBox.h"

// The viewer belongs to the shell's library, which widget tests do not link.
#include "shell/MessageLogWindow.cpp"

using namespace tamber::base;
using namespace tamber::ui;
using namespace tamber::ui::widgets;
using namespace tamber::shell;

TEST(MessageLogWindow, ChannelsLevelsAndClosing) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    MessageLog::Instance().Clear();
    MessageLog::Instance().SetListener(nullptr);
    // Written before the window system and the viewer exist: only stored.
    LogMessage(0, "Codex", "INFO: %d tags indexed\n", 12);
    ui.Run([](UiTestDriver& ui) {
        MessageLogWindow::Install();
        EXPECT_EQ(MessageLogWindow::Get(false), nullptr);
        LogMessage(0, "codex", "WARNING: %s\n", "second line");
        MessageLogWindow* viewer = MessageLogWindow::Get(false);
        ASSERT_NE(viewer, nullptr);
        EXPECT_FALSE(viewer->IsVisible());
        EXPECT_EQ(ui.find("Log Viewer/Channels"), viewer->ChannelList());
        TextBox* codex = viewer->ChannelBox("CODEX");
        ASSERT_NE(codex, nullptr);
        EXPECT_EQ(codex->Text(), "INFO: 12 tags indexed\nWARNING: second line\n");
        EXPECT_EQ(viewer->ChannelList()->RowCount(), 1);
        EXPECT_EQ(viewer->ChannelList()->ItemAtRow(0)->label, "Codex");

        // New channels are listed in sorted order; a level of 1 shows the viewer with the channel.
        LogMessage(0, "Model Import", "INFO: imported\n");
        LogMessage(1, "AllTextSearch", "ERROR: %s\n", "no match");
        EXPECT_TRUE(viewer->IsVisible());
        ListWindow* list = viewer->ChannelList();
        EXPECT_EQ(list->ItemAtRow(0)->label, "AllTextSearch");
        EXPECT_EQ(list->ItemAtRow(2)->label, "Model Import");
        EXPECT_EQ(list->Selection().front()->label, "AllTextSearch");
        EXPECT_EQ(viewer->ShownBox(), viewer->ChannelBox("alltextsearch"));
        EXPECT_FALSE(codex->IsVisible());

        // Choosing a channel in the list shows its text.
        ui.click({list->Client().left + 20, list->Client().top + list->RowHeight() + 4});
        EXPECT_EQ(viewer->ShownBox(), codex);
        EXPECT_TRUE(codex->IsVisible());
        EXPECT_EQ(viewer->Frame().Width(), 600);
        ui.step(2);
        ASSERT_TRUE(ui.screenshot("logviewer.ppm"));

        // Closing hides; the channels stay and come back with ShowLogViewer.
        Rect box = viewer->TitleBoxRect(kHitCloseBox);
        ui.click({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        ui.step(2);
        EXPECT_EQ(MessageLogWindow::Get(false), viewer);
        EXPECT_FALSE(viewer->IsVisible());
        ShowLogViewer();
        EXPECT_TRUE(viewer->IsVisible());
        EXPECT_EQ(viewer->ChannelBox("Codex"), codex);
        // Long messages are cut to the buffer.
        LogMessage(0, "Big", "%s", std::string(5000, 'x').c_str());
        EXPECT_EQ(viewer->ChannelBox("big")->Text().size(), 4095u);
    });
    MessageLog::Instance().SetListener(nullptr);
    MessageLog::Instance().Clear();
}
