// The "Recursive Image Conversion" command through its dialogs: the option lists,
// the palette size prompt and its refusals, the destination, the log.
#include <gtest/gtest.h>

#include <filesystem>

#include "images/MediaFile.h"
#include "base/MessageLog.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/ImageConversionDialog.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/ListWindow.h"

using namespace tamber::images;
using namespace tamber::base;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace fs = std::filesystem;

namespace {

struct Opener : Window {
    Opener() : Window(kStyleVisible | kStyleEnabled, nullptr) { SetFrameXYWH(0, 0, 40, 40); }
    void OnMouseButton(Event& event) override {
        if (event.ButtonPressed()) running = true, RunImageConversion(), running = false;
    }
    bool running = false;
};

void ChooseEntry(UiTestDriver& ui, const char* path, int index) {
    auto* combo = static_cast<ComboBox*>(ui.find(path));
    ASSERT_NE(combo, nullptr) << path;
    ui.click(UiTestDriver::center(combo->Button()));
    ListWindow* list = combo->List();
    ui.click({list->Client().left + 20, list->Client().top + index * list->RowHeight() + list->RowHeight() / 2});
    EXPECT_EQ(combo->GetSelectedItem(), index);
}

// Types a folder into a chooser's path field and selects it.
void PickFolder(UiTestDriver& ui, const std::string& title, const std::string& folder) {
    ASSERT_NE(ui.find(title), nullptr) << title;
    ui.click((title + "/Path").c_str());
    ui.key('A', kModCtrl);
    ui.type(folder + "\n");
    ui.click((title + "/Select").c_str());
    ui.step(2);  // the chooser's run ends with the next frame
}

void AnswerPaletteSize(UiTestDriver& ui, const std::string& text) {
    ASSERT_NE(ui.find("Enter Target Palette Size:"), nullptr);
    ui.key('A', kModCtrl);
    ui.type(text);
    ui.click("Enter Target Palette Size:/OK");
    ui.step(2);
}

}  // namespace

TEST(ImageConversionDialog, OptionsPaletteSizeDestinationAndLog) {
    char pattern[] = "/tmp/tamber-convert-XXXXXX";
    const std::string root = ::mkdtemp(pattern), source = root + "/art", dest = root + "/out";
    for (const char* name : {"/one.png", "/nested/two.bmp"}) {
        fs::create_directories(fs::path(source + name).parent_path());
        MediaFile file(source + name);
        EXPECT_TRUE(CreateImage(file.image, 12, 9, kPixelRGB));
        for (size_t i = 0; i < file.image.pixels.size(); ++i) file.image.pixels[i] = uint8_t(i * 7);
        ASSERT_TRUE(SaveImage(file));
    }
    fs::create_directories(dest);
    MessageLog::Instance().Clear();

    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        auto* opener = new Opener;
        ui.click(UiTestDriver::center(opener));
        ASSERT_NE(ui.find("Choose a folder/Reserve First Two Colors:"), nullptr);
        ASSERT_NE(ui.find("Choose a folder/0-Index Transparent Pixels:"), nullptr);
        ChooseEntry(ui, "Choose a folder/Destination Color Format:", 1);  // Indexed
        ChooseEntry(ui, "Choose a folder/Indexing Type:", 1);             // Global
        ui.step(2);
        ui.screenshot("image-conversion-chooser.ppm");
        PickFolder(ui, "Choose a folder", source);

        // 0 and 257 are refused with an error; 16 goes through.
        for (const char* refused : {"0", "257"}) {
            AnswerPaletteSize(ui, refused);
            ASSERT_NE(ui.find("Error"), nullptr);
            ui.click("Error/OK");
            ui.step(2);
        }
        AnswerPaletteSize(ui, "16");
        PickFolder(ui, "Choose a destination folder", dest);
        for (int i = 0; i < 600 && opener->running; ++i) ui.step();
        ASSERT_FALSE(opener->running);

        for (const char* name : {"/one.png", "/nested/two.bmp"}) {
            MediaFile file(dest + name);
            ASSERT_TRUE(LoadImage(file)) << name;
            EXPECT_EQ(file.image.format, kPixelPaletted);
            EXPECT_LE(file.image.paletteCount, 16u);
        }
        const std::string log = MessageLog::Instance().Find(kImageConversionChannel)->text;
        EXPECT_EQ(log.rfind("------------------- Begin Recursive image conversion", 0), 0u);
        EXPECT_NE(log.find("(Global, 16 colors, reserve first two False, 0-index transparent False)"),
                  std::string::npos);
        EXPECT_NE(log.find("2 of 2 images written"), std::string::npos);
    });
    fs::remove_all(root);
}
