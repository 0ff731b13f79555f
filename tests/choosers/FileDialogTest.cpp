// The file, folder and colour choosers run modally from a click and answered by the
// script: choosing, filtering, navigating, remembering folders and formats, cancelling.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "base/Preferences.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/ColorDialogWindow.h"
#include "ui/choosers/FileDialogWindow.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::base;
using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        root = fs::temp_directory_path() / ("tamber-dialogs-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "Renders");
        fs::create_directories(root / "art");
        for (const char* name : {"a.png", "b.PNG", "c.bmp", "notes.txt", "Renders/inner.bmp"}) {
            std::ofstream(root / name) << "data";
        }
    }
    ~Folder() { fs::remove_all(root); }
    std::string Path(const std::string& name = "") const { return name.empty() ? root.string() : (root / name).string(); }
    fs::path root;
};

// Runs its action (which opens a dialog) when clicked.
struct Opener : Window {
    explicit Opener(std::function<bool()> action) : Window(kStyleVisible, nullptr), action(std::move(action)) {
        SetFrameXYWH(0, 0, 40, 40);
    }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        running = true;
        result = action();
        running = false;
    }
    std::function<bool()> action;
    bool running = false;
    bool result = false;
};

FileDialogWindow* FileDialog() { return dynamic_cast<FileDialogWindow*>(WS().ModalWindow()); }

std::vector<std::string> Listed(const FileDialogWindow* dialog) {
    std::vector<std::string> names;
    for (const FileEntry& e : dialog->Model().Entries()) names.push_back(e.name);
    return names;
}

Point RowPoint(const FileDialogWindow* dialog, const std::string& name) {
    for (ListWindow::ListItem* item = dialog->List()->FirstItem(); item; item = item->next) {
        if (item->label == name) {
            Rect cell = dialog->List()->CellRect(item, 0);
            return {cell.left + 10, (cell.top + cell.bottom) / 2};
        }
    }
    ADD_FAILURE() << "no row " << name;
    return {0, 0};
}

void ChooseEntry(UiTestDriver& ui, ComboBox* combo, int index) {
    ui.click(UiTestDriver::center(combo->Button()));
    ListWindow* list = combo->List();
    ui.click({list->Client().left + 20, list->Client().top + index * list->RowHeight() + list->RowHeight() / 2});
}

std::string Pref(const char* key) {
    std::string value;
    GetPrefString(key, value);
    return value;
}

int PrefInt(const char* key) {
    int value = -1;
    GetPrefInt(key, value);
    return value;
}

}  // namespace

TEST(FileDialogs, OpenFiltersNavigatesRemembersAndCancels) {
    Folder folder;
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        SetPrefString("LastImageOpenPath", folder.Path());
        SetPrefInt("LastImageOpenFormat", 5);  // wraps to the PNG filter
        std::string path;
        int format = -1;
        auto* opener = new Opener([&] { return OpenFileOfKind(kFileKindImage, nullptr, path, &format); });
        ui.click(UiTestDriver::center(opener));
        FileDialogWindow* dialog = FileDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_STREQ(dialog->GetName(), "Open Image");
        EXPECT_STREQ(dialog->OKButton()->GetName(), "Open");
        EXPECT_EQ(dialog->PathField()->Text(), folder.Path());
        EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"art", "Renders", "a.png", "b.PNG"}));

        ChooseEntry(ui, static_cast<ComboBox*>(ui.find("Open Image/Type")), 0);
        EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"art", "Renders", "c.bmp"}));

        // Double click enters a folder; Up comes back; a typed path goes where it says.
        ui.doubleClick(RowPoint(dialog, "Renders"));
        EXPECT_EQ(dialog->Model().Folder(), folder.Path("Renders"));
        EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"inner.bmp"}));
        ui.click("Open Image/Up");
        EXPECT_EQ(dialog->Model().Folder(), folder.Path());
        ui.click("Open Image/Path");
        ui.key('A', kModCtrl);
        ui.type(folder.Path("art") + "\n");
        EXPECT_TRUE(opener->running);
        EXPECT_EQ(dialog->Model().Folder(), folder.Path("art"));
        ui.click("Open Image/Up");
        // A folder named in the name field is entered with OK, without a beep.
        const int beeps = ui.platform().beeps;
        ui.click("Open Image/Name");
        ui.type("Renders\n");
        EXPECT_EQ(dialog->Model().Folder(), folder.Path("Renders"));
        EXPECT_EQ(ui.platform().beeps, beeps);
        ui.click("Open Image/Up");

        // A missing file is refused, saying why, and the dialog stays; selecting a file
        // offers its name.
        ui.click("Open Image/Name");
        ui.type("missing.bmp\n");
        EXPECT_TRUE(opener->running);
        auto* refusal = dynamic_cast<MessageBoxWindow*>(WS().ModalWindow());
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->TextField()->Text(), "'missing.bmp' was not found. Check the file name and try again.");
        ui.key(kKeyEnter);
        ui.step(2);
        EXPECT_EQ(WS().ModalWindow(), dialog);
        EXPECT_EQ(WS().Focus(), dialog->NameField());
        ui.click(RowPoint(dialog, "c.bmp"));
        EXPECT_EQ(dialog->NameField()->Text(), "c.bmp");
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_TRUE(opener->result);
        EXPECT_EQ(path, folder.Path("c.bmp"));
        EXPECT_EQ(format, 0);
        EXPECT_EQ(Pref("LastImageOpenPath"), folder.Path());
        EXPECT_EQ(PrefInt("LastImageOpenFormat"), 0);

        // Cancelling stores nothing and leaves the path alone.
        SetPrefInt("LastImageOpenFormat", 1);
        path = "unchanged";
        ui.click(UiTestDriver::center(opener));
        ui.click("Open Image/Up");
        ui.key(kKeyEscape);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_FALSE(opener->result);
        EXPECT_EQ(path, "unchanged");
        EXPECT_EQ(Pref("LastImageOpenPath"), folder.Path());
        EXPECT_EQ(PrefInt("LastImageOpenFormat"), 1);
    });
}

TEST(FileDialogs, SaveAddsExtensionAndAsksBeforeOverwriting) {
    Folder folder;
    std::ofstream(folder.root / "existing.wav") << "old";
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        SetPrefString("LastSoundSavePath", folder.Path());
        std::string path = "take";
        auto* opener = new Opener([&] { return SaveFileOfKind(kFileKindSound, nullptr, path); });
        ui.click(UiTestDriver::center(opener));
        FileDialogWindow* dialog = FileDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_STREQ(dialog->GetName(), "Save Sound As");
        EXPECT_EQ(dialog->NameField()->Text(), "take");
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_EQ(path, folder.Path("take.wav"));

        path = "existing.wav";
        ui.click(UiTestDriver::center(opener));
        dialog = FileDialog();
        ASSERT_NE(dialog, nullptr);
        ui.key(kKeyEnter);
        auto* box = dynamic_cast<MessageBoxWindow*>(WS().ModalWindow());
        ASSERT_NE(box, nullptr);
        EXPECT_STREQ(box->GetName(), "Confirm Save As");
        ui.click("Confirm Save As/No");
        ui.step();
        EXPECT_TRUE(opener->running);
        EXPECT_EQ(FileDialog(), WS().ModalWindow());
        EXPECT_EQ(WS().Focus(), dialog->NameField());
        ui.key(kKeyEnter);
        ui.step(2);  // the frame after a nested run ends is skipped

        ui.click("Confirm Save As/Yes");
        ui.step(2);
        ASSERT_FALSE(opener->running);
        EXPECT_TRUE(opener->result);
        EXPECT_EQ(path, folder.Path("existing.wav"));
    });
}

TEST(FileDialogs, OpenSeveralAndChooseFolder) {
    Folder folder;
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        SetPrefString("LastOpenPath", folder.Path());
        std::vector<std::string> paths;
        auto* opener = new Opener([&] { return OpenFilesOfKind(kFileKindAny, nullptr, paths); });
        ui.click(UiTestDriver::center(opener));
        FileDialogWindow* dialog = FileDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_STREQ(dialog->GetName(), "Open Multiple Files");
        ui.click(RowPoint(dialog, "a.png"));
        ui.key(kKeyDown, kModShift);
        ui.key(kKeyDown, kModShift);
        EXPECT_EQ(dialog->NameField()->Text(), "");
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_EQ(paths, (std::vector<std::string>{folder.Path("a.png"), folder.Path("b.PNG"), folder.Path("c.bmp")}));

        // The folder picker: "Select", "Folder Name:", a "Target Format:" row, folders only.
        SetPrefString("LastImageFolderPath", folder.Path());
        SetPrefInt("LastImageFolderFormat", 2);
        std::string chosen;
        int format = -1;
        opener->action = [&] { return ChooseFolderOfKind(kFileKindImage, nullptr, chosen, &format); };
        ui.click(UiTestDriver::center(opener));
        dialog = FileDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_STREQ(dialog->GetName(), "Choose Image Folder");
        EXPECT_STREQ(dialog->OKButton()->GetName(), "Select");
        EXPECT_EQ(ui.find("Choose Image Folder/Type"), nullptr);
        EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"art", "Renders"}));
        auto* target = static_cast<ComboBox*>(ui.find("Choose Image Folder/Target Format:"));
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->ItemText(0), "Bitmap Image (*.bmp)");
        EXPECT_EQ(target->GetSelectedItem(), 2);
        ChooseEntry(ui, target, 1);
        // A typed folder name is entered and the field cleared; an empty name selects the folder shown.
        ui.click("Choose Image Folder/Name");
        ui.type("Renders\n");
        EXPECT_TRUE(opener->running);
        EXPECT_EQ(dialog->Model().Folder(), folder.Path("Renders"));
        EXPECT_EQ(dialog->NameField()->Text(), "");
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_EQ(chosen, folder.Path("Renders"));
        EXPECT_EQ(format, 1);
        EXPECT_EQ(PrefInt("LastImageFolderFormat"), 1);
        EXPECT_EQ(Pref("LastImageFolderPath"), folder.Path("Renders"));

        // The selected folder wins over the one shown.
        ui.click(UiTestDriver::center(opener));
        dialog = FileDialog();
        ui.click("Choose Image Folder/Up");
        ui.click(RowPoint(dialog, "art"));
        ui.click("Choose Image Folder/Select");
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_EQ(chosen, folder.Path("art"));
    });
}

TEST(ColorChooser, HexNumbersCustomColorsAndColorButton) {
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([&](UiTestDriver& ui) {
        uint8_t rgb[3] = {255, 0, 0};
        auto* opener = new Opener([&] { return OsChooseColor(rgb); });
        ui.click(UiTestDriver::center(opener));
        auto* dialog = dynamic_cast<ColorDialogWindow*>(WS().ModalWindow());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->HexField()->Text(), "#FF0000");
        ui.type("#00FF80");
        EXPECT_EQ(dialog->Number(ColorDialogWindow::kGreen)->Text(), "255");
        EXPECT_EQ(dialog->Number(ColorDialogWindow::kBlue)->Text(), "128");
        EXPECT_EQ(dialog->Number(ColorDialogWindow::kHue)->Text(), "150");
        // Typing a value re-derives the RGB numbers.
        ui.click(UiTestDriver::center(dialog->Number(ColorDialogWindow::kValue)));
        ui.key('A', kModCtrl);
        ui.type("50");
        EXPECT_EQ(dialog->Number(ColorDialogWindow::kGreen)->Text(), "128");
        EXPECT_EQ(dialog->HexField()->Text(), "#008040");
        ui.click("Color/Add to Custom Colors");
        EXPECT_EQ(CustomColors()[0], (Rgb{0, 128, 64}));
        ui.key(kKeyEnter);
        ui.step();
        ASSERT_FALSE(opener->running);
        EXPECT_TRUE(opener->result);
        EXPECT_EQ(rgb[0], 0);
        EXPECT_EQ(rgb[1], 128);
        EXPECT_EQ(rgb[2], 64);

        // Cancelling keeps the colour; a custom colour picks its colour.
        ui.click(UiTestDriver::center(opener));
        dialog = dynamic_cast<ColorDialogWindow*>(WS().ModalWindow());
        ASSERT_NE(dialog, nullptr);
        ui.click("Color/Custom 2");
        EXPECT_EQ(dialog->Color(), CustomColors()[1]);
        // The middle of the field is cyan at half saturation, lifted from black to full value.
        ui.click("Color/Hue and Saturation");
        EXPECT_NEAR(dialog->HsvColor().h, 180, 2);
        EXPECT_NEAR(dialog->HsvColor().s, 0.5, 0.02);
        EXPECT_EQ(dialog->Number(ColorDialogWindow::kValue)->Text(), "100");
        ui.key(kKeyEscape);
        ui.step();
        EXPECT_FALSE(opener->result);
        EXPECT_EQ(rgb[1], 128);

        // The colour buttons use the chooser once installed.
        InstallChoosers();
        auto* holder = new Window(kStyleVisible | kStyleEnabled, nullptr);
        holder->SetFrameXYWH(100, 0, 100, 40);
        auto* button = new ColorButton(holder);
        button->SetFrameXYWH(0, 0, 42, 20);
        ui.click(UiTestDriver::center(button));
        ASSERT_NE(dynamic_cast<ColorDialogWindow*>(WS().ModalWindow()), nullptr);
        ui.type("#102030\n");
        ui.step();
        EXPECT_EQ(button->GetColor(), 0x102030FFu);
    });
}
