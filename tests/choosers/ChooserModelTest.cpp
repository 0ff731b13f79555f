#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "base/Preferences.h"
#include "ui/choosers/FileDialogModel.h"
using namespace tamber::base;
using namespace tamber::ui;
using namespace tamber::ui::choosers;

namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder() {
        root = fs::temp_directory_path() / ("tamber-chooser-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "Renders");
        fs::create_directories(root / "art");
        Write("b.PNG", 300);
        Write("a.png", 10);
        Write("notes.txt", 5);
        Write("c.bmp", 2000);
        Write(".hidden.png", 1);
    }
    ~Folder() { fs::remove_all(root); }
    void Write(const std::string& name, size_t size) { std::ofstream(root / name) << std::string(size, 'x'); }
    std::string Path() const { return root.string(); }
    fs::path root;
};

std::vector<std::string> Names(const FileDialogModel& model) {
    std::vector<std::string> names;
    for (const FileEntry& e : model.Entries()) names.push_back(e.name);
    return names;
}

const std::vector<FileFilter> kImages = {{"Bitmap Image", "*.bmp"}, {"PNG Image", "*.png"}, {"TIFF Image", "*.tiff"}};

}  // namespace

TEST(FileDialogModel, ListsFoldersFirstThenFilteredSortedFiles) {
    Folder folder;
    FileDialogModel model(DialogPurpose::Open, kImages, 1);
    ASSERT_TRUE(model.SetFolder(folder.Path() + "/./art/.."));
    EXPECT_EQ(model.Folder(), folder.Path());
    EXPECT_EQ(Names(model), (std::vector<std::string>{"art", "Renders", "a.png", "b.PNG"}));
    model.SortBy(FileDialogModel::SortColumn::Size, true);
    EXPECT_EQ(Names(model), (std::vector<std::string>{"Renders", "art", "b.PNG", "a.png"}));
    model.SetFilter(0);
    EXPECT_EQ(Names(model).back(), "c.bmp");
    EXPECT_FALSE(model.SetFolder(folder.Path() + "/missing"));
    EXPECT_EQ(model.Folder(), folder.Path());
    ASSERT_TRUE(model.GoUp());
    EXPECT_EQ(model.Folder(), folder.root.parent_path().string());

    FileDialogModel folders(DialogPurpose::ChooseFolder, {}, 0);
    folders.SetFolder(folder.Path());
    EXPECT_EQ(Names(folders), (std::vector<std::string>{"art", "Renders"}));
}

TEST(FileDialogModel, ConfirmDecidesByPurpose) {
    Folder folder;
    using D = FileDialogModel::Decision;
    FileDialogModel open(DialogPurpose::OpenSeveral, kImages, 1);
    open.SetFolder(folder.Path());
    // Selected files are accepted with forward-slash paths; a selected folder is entered.
    D d = open.Confirm("", {2, 3});
    EXPECT_EQ(d.kind, D::Accept);
    EXPECT_EQ(d.paths, (std::vector<std::string>{folder.Path() + "/a.png", folder.Path() + "/b.PNG"}));
    d = open.Confirm("", {0});
    EXPECT_EQ(d.kind, D::EnterFolder);
    EXPECT_EQ(d.folder, folder.Path() + "/art");
    EXPECT_EQ(open.Confirm("missing.png", {}).kind, D::Refuse);
    EXPECT_EQ(open.Confirm("Renders", {}).kind, D::EnterFolder);
    d = open.Confirm(folder.Path() + "/c.bmp", {});
    EXPECT_EQ(d.kind, D::Accept);
    FileDialogModel single(DialogPurpose::Open, kImages, 1);
    single.SetFolder(folder.Path());
    EXPECT_EQ(single.Confirm("", {2, 3}).kind, D::Refuse);

    // Saving: the filter's extension is added; an existing file asks first; read-only refused.
    FileDialogModel save(DialogPurpose::Save, kImages, 1);
    save.SetFolder(folder.Path());
    d = save.Confirm("new", {});
    EXPECT_EQ(d.kind, D::Accept);
    EXPECT_EQ(d.paths[0], folder.Path() + "/new.png");
    d = save.Confirm("a", {});
    EXPECT_EQ(d.kind, D::AskOverwrite);
    EXPECT_EQ(save.Confirm("nowhere/x.png", {}).kind, D::Refuse);
    if (geteuid() != 0) {  // root may write anything
        chmod((folder.root / "a.png").c_str(), 0444);
        EXPECT_EQ(save.Confirm("a.png", {}).kind, D::Refuse);
    }

    // Choosing a folder: the selected folder, or the one shown when nothing is selected.
    FileDialogModel choose(DialogPurpose::ChooseFolder, {}, 0);
    choose.SetFolder(folder.Path());
    d = choose.Confirm("", {1});
    EXPECT_EQ(d.kind, D::Accept);
    EXPECT_EQ(d.paths[0], folder.Path() + "/Renders");
    d = choose.Confirm("", {});
    EXPECT_EQ(d.paths[0], folder.Path());
}

TEST(FileDialogKinds, TitlesKeysAndRememberedFormats) {
    const FileDialogKind& image = FindFileDialogKind(kFileKindImage);
    EXPECT_STREQ(image.Title(DialogPurpose::OpenSeveral), "Open Multiple Images");
    EXPECT_STREQ(image.FolderKey(DialogPurpose::OpenSeveral), "LastImageOpenPath");
    SetPrefInt("LastImageSaveFormat", 7);  // wraps modulo the three filters
    EXPECT_EQ(image.StoredFormat(DialogPurpose::Save), 1);
    EXPECT_EQ(image.FormatOptionEntries()[2], "TIFF Image (*.tiff)");
    // JPEG is read, never written: opening offers it, saving and target folders do not.
    ASSERT_EQ(image.Filters(DialogPurpose::Open).size(), 4u);
    EXPECT_EQ(image.Filters(DialogPurpose::OpenSeveral)[3].name, "JPEG Image");
    EXPECT_EQ(image.Filters(DialogPurpose::Save).size(), 3u);
    EXPECT_EQ(image.FormatOptionEntries().size(), 3u);
    SetPrefInt("LastImageOpenFormat", 3);
    EXPECT_EQ(image.StoredFormat(DialogPurpose::Open), 3);
    const std::string jpeg = image.Filters(DialogPurpose::Open)[3].pattern;
    EXPECT_TRUE(FileDialogModel::Matches("photo.JPEG", jpeg));
    EXPECT_TRUE(FileDialogModel::Matches("photo.jpg", jpeg));
    EXPECT_FALSE(FileDialogModel::Matches("photo.jpgx", jpeg));
    EXPECT_FALSE(FileDialogModel::Matches("photo.png", jpeg));
    const FileDialogKind& archive = FindFileDialogKind(kFileKindArchive);
    EXPECT_TRUE(archive.filters.empty());
    EXPECT_EQ(archive.FormatKey(DialogPurpose::Save), nullptr);
    EXPECT_EQ(archive.StoredFormat(DialogPurpose::Save), 0);
    EXPECT_EQ(archive.StoredFolder(DialogPurpose::Open, "/start"), "/start");
    archive.StoreFolder(DialogPurpose::Open, "/games/vesk");
    EXPECT_EQ(archive.StoredFolder(DialogPurpose::OpenSeveral, "/start"), "/games/vesk");
    EXPECT_STREQ(FindFileDialogKind(99).Title(DialogPurpose::Save), "Save File As");
    EXPECT_EQ(NormalisePath("a\\b/../c/./d"), "a/c/d");
    EXPECT_EQ(NormalisePath("/../x"), "/x");
}

#include "ui/choosers/ColorModel.h"


TEST(ColorModel, ConversionsRoundTripAndHexEntry) {
    for (int r = 0; r < 256; r += 17) {
        for (int g = 0; g < 256; g += 51) {
            for (int b = 0; b < 256; b += 85) {
                Rgb rgb{uint8_t(r), uint8_t(g), uint8_t(b)};
                EXPECT_EQ(HsvToRgb(RgbToHsv(rgb)), rgb);
            }
        }
    }
    Hsv red = RgbToHsv({255, 0, 0});
    EXPECT_DOUBLE_EQ(red.h, 0);
    EXPECT_DOUBLE_EQ(RgbToHsv({0, 0, 255}).h, 240);
    EXPECT_EQ(HsvToRgb({360, 1, 1}), (Rgb{255, 0, 0}));
    EXPECT_EQ(ParseHexColor("#0040C0"), (Rgb{0, 64, 192}));
    EXPECT_EQ(ParseHexColor("fa0"), (Rgb{255, 170, 0}));
    EXPECT_FALSE(ParseHexColor("#12345"));
    EXPECT_FALSE(ParseHexColor("#12345G"));
    EXPECT_EQ(FormatHexColor({0, 64, 192}), "#0040C0");
    CustomColors()[3] = {1, 2, 3};
    EXPECT_EQ(CustomColors()[3], (Rgb{1, 2, 3}));
}
