#include "shell/RootMenu.h"

#include <filesystem>

#include "collections/editor/X256Edit.h"
#include "editing/TextEdit.h"
#include "models/LwoWriter.h"
#include "models/ModelFrom3DMF.h"
#include "models/viewer/ModelImportCommands.h"
#include "shell/MessageLogWindow.h"
#include "shell/TamberSplashScreen.h"
#include "base/Preferences.h"
#include "tags/Codex.h"
#include "terrain/editor/DtexCommands.h"
#include "tools/AddonDialog.h"
#include "tools/ArchiveBrowser.h"
#include "tools/AutoCollectionDialog.h"
#include "tools/AutoUpResDialog.h"
#include "tools/ImageConversionDialog.h"
#include "tools/TextSearchCommand.h"
#include "tools/WindowSpy.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/choosers/WidgetGallery.h"
#include "ui/widgets/MenuItem.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::shell {
using namespace tamber::editing;
using namespace tamber::models;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {
RootMenu* instance = nullptr;
}

RootMenu* RootMenu::Create() {
    if (!instance) instance = new RootMenu;
    WS().SetMenuBar(instance);
    return instance;
}

RootMenu* RootMenu::Instance() { return instance; }

RootMenu::RootMenu() : Menu(true) {
    SetName("TamberRootMenu");
    MenuItem* file = AddMenuItem(this, "File", nullptr, 0, true);
    AddMenuItem(this, "Add Archives", file, kAddArchives, true);
    AddMenuItem(this, "New Collection", file, kNewCollection, true);
    AddMenuItem(this, "New Detail Texture From Image File", file, kNewDetailTextureFromImageFile, true);
    AddMenuItem(this, "New Detail Texture From Clipboard", file, kNewDetailTextureFromClipboard, true);
    AddMenuItem(this, "New Model From File", file, kNewModelFromFile, true);
    AddMenuItem(this, "New Script", file, kNewScript, true);
    AddSeparator(this, file);
    AddMenuItem(this, "Exit", file, kExit, true);

    MenuItem* tools = AddMenuItem(this, "Tools", nullptr, 0, true);
    AddMenuItem(this, "Reload Local Folder", tools, kReloadLocalFolder, true);
    AddMenuItem(this, "Reload Plugins Folder", tools, kReloadPluginsFolder, true);
    AddMenuItem(this, "Choose Vesk Folder", tools, kChooseVeskFolder, true);
    AddMenuItem(this, "Archive Browser", tools, kArchiveBrowser, true);
    AddMenuItem(this, "Log Viewer", tools, kLogViewer, true);
    AddSeparator(this, tools);
    AddMenuItem(this, "Build Dtex Add-on", tools, kBuildDtexAddon, true);
    AddMenuItem(this, "Build Regular Add-on", tools, kBuildRegularAddon, true);
    AddMenuItem(this, "Recursive Image Conversion", tools, kRecursiveImageConversion, true);
    AddMenuItem(this, "Convert 3DMF to LWO", tools, kConvert3dmfToLwo, true);
    AddMenuItem(this, "Build Standard Collection", tools, kBuildStandardCollection, true);
    AddMenuItem(this, "Build High-Res Collection", tools, kBuildHighResCollection, true);
    AddMenuItem(this, "Search Text Tags", tools, kSearchTextTags, true);

    windowMenu_ = AddMenuItem(this, "Window", nullptr, kWindowMenu, true);
    FillWindowMenu();

    MenuItem* debug = AddMenuItem(this, "Debug", nullptr, 0, true);
    AddMenuItem(this, "Window Spy", debug, kWindowSpy, true);
    AddMenuItem(this, "Widget Gallery", debug, kWidgetGallery, true);

    MenuItem* help = AddMenuItem(this, "Help", nullptr, 0, true);
    AddMenuItem(this, "About Tamber...", help, kAbout, true);

    chosen.Connect(this, &RootMenu::OnChosen);
    opening.Connect(this, &RootMenu::OnOpening);
    int width = WS().SurfaceWidth();
    SetFrameXYWH(0, 0, width, Frame().Height());
}

RootMenu::~RootMenu() {
    if (instance == this) instance = nullptr;
}

bool RootMenu::HandleEvent(Window* target, int kind, Event& event) {
    if (kind == kEventSurfaceResized && target == this) {
        SetPrefInt("OsWindowSizeX", event.word[0]);
        SetPrefInt("OsWindowSizeY", event.word[1]);
        SetFrameXYWH(0, 0, event.word[0], Frame().Height());
    }
    return Menu::HandleEvent(target, kind, event);
}

void RootMenu::OnChosen(MenuItem* item) {
    if (item) RunCommand(item->Id());
}

void RootMenu::OnOpening(MenuItem* item) {
    if (item == windowMenu_) FillWindowMenu();
}

void RootMenu::FillWindowMenu() {
    if (Menu* sub = windowMenu_->Submenu()) sub->CloseChildren();
    listedWindows_.clear();
    AddMenuItem(this, "Close All Windows", windowMenu_, kCloseAllWindows, true);
    WindowSystem& ws = WS();
    for (Window* layer : {ws.Layer1(), ws.Layer0()}) {
        if (!layer) continue;
        for (Window* w = layer->FirstChild(); w && int(listedWindows_.size()) < kMaxWindowItems; w = w->NextSibling()) {
            if (!w->IsVisible() || !w->HasFlags(kStyleTitleBar) || !w->GetName() || w->IsInside(this)) continue;
            AddMenuItem(this, w->GetName(), windowMenu_, kFirstWindowItem + int32_t(listedWindows_.size()), true);
            listedWindows_.push_back(w);
        }
    }
}

void RootMenu::CloseAllWindows() {
    std::vector<Window*> windows = listedWindows_;
    for (Window* w : windows) {
        if (!w->CanClose(0)) {
            if (w->IsVisible()) return;
            continue;
        }
        w->Close();
    }
}

void RootMenu::RunCommand(int32_t command) {
    WindowSystem& ws = WS();
    switch (command) {
    case kExit:
        ws.QueueQuit();
        break;
    case kAddArchives:
        AddArchives();
        break;
    case kNewCollection:
        collections::editor::NewCollection();
        break;
    case kNewScript:
        NewScript();
        break;
    case kNewDetailTextureFromImageFile:
        terrain::editor::NewDetailTextureFromImageFile();
        break;
    case kNewDetailTextureFromClipboard:
        terrain::editor::NewDetailTextureFromClipboard();
        break;
    case kNewModelFromFile:
        models::viewer::ImportModelFromFile();
        break;
    case kBuildDtexAddon:
        BuildDtexAddon();
        break;
    case kBuildRegularAddon:
        BuildRegularAddon();
        break;
    case kRecursiveImageConversion:
        RunImageConversion();
        break;
    case kBuildStandardCollection:
        RunAutoCollectionBuild();
        break;
    case kBuildHighResCollection:
        RunAutoUpRes();
        break;
    case kSearchTextTags:
        SearchTextTags();
        break;
    case kWindowSpy:
        OpenWindowSpy();
        break;
    case kChooseVeskFolder:
        ChooseVeskFolder();
        break;
    case kConvert3dmfToLwo:
        Convert3dmfToLwo();
        break;
    case kWidgetGallery:
        ShowWidgetGallery();
        break;
    case kReloadLocalFolder:
        Codex::Instance().RefreshLocalFolder(true);
        break;
    case kReloadPluginsFolder:
        Codex::Instance().ReloadArchives();
        break;
    case kArchiveBrowser:
        ShowArchiveBrowser();
        break;
    case kLogViewer:
        ShowLogViewer();
        break;
    case kCloseAllWindows:
        CloseAllWindows();
        break;
    case kAbout:
        TamberSplashScreen::Show(true);
        break;
    default:
        if (command >= kFirstWindowItem && command < kFirstWindowItem + int32_t(listedWindows_.size())) {
            Window* w = listedWindows_[size_t(command - kFirstWindowItem)];
            w->BringToFront();
            ws.FocusWindow(w);
        }
        break;
    }
}

void RootMenu::AddArchives() {
    std::vector<std::string> paths;
    if (!OpenFilesOfKind(kFileKindArchive, "Select Archives", paths) || paths.empty()) return;
    ArchiveBrowser::GetOrCreate()->AddArchives(paths);
}

void RootMenu::ChooseVeskFolder() {
    if (Codex::Instance().CountOpenTags() >= 1) {
        ShowError("Please close all open tags first.");
        return;
    }
    std::string folder = Codex::Instance().GameFolder();
    if (!OsChooseFolder("Select your Vesk II folder", folder)) return;
    SetPrefString("VeskPath", folder);
    InitCodex();
}

void RootMenu::Convert3dmfToLwo() {
    std::string source;
    int format = kModelFormat3dmf;
    if (!OpenFileOfKind(kFileKindModel, "Open 3DMF file", source, &format)) return;
    Result<Model> model = ModelFrom3DMF(source);
    if (!model) {
        MessageBox("Error",
                   ("The selected model file could not be loaded as 3DMF. The error returned was:\n" + model.error())
                       .c_str(),
                   {"OK"});
        return;
    }
    std::string folder;
    if (!ChooseFolderOfKind(kFileKindModel, "Choose a destination folder", folder)) return;
    if (Status written = WriteLwoModel(*model, folder, std::filesystem::path(source).stem().string()); !written) {
        MessageBox("Error", ("LWO creation failed.\n" + written.error()).c_str(), {"OK"});
    }
}

}  // namespace tamber::shell
