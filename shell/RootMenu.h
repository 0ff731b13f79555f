#pragma once
// The menu bar across the top of the main window ("TamberRootMenu") and the
// dispatcher of every program-level command. It also records the main window's
// size for the next start.
#include <vector>

#include "ui/widgets/Menu.h"

namespace tamber::shell {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class RootMenu : public Menu {
public:
    enum Command : int32_t {
        kExit = 10000,
        kAddArchives = 10001,
        kNewCollection = 10002,
        kNewModelFromFile = 10003,
        kNewScript = 10004,
        kNewDetailTextureFromImageFile = 13000,
        kNewDetailTextureFromClipboard = 13001,
        kArchiveBrowser = 10200,
        kLogViewer = 10201,
        kReloadLocalFolder = 10202,
        kReloadPluginsFolder = 10203,
        kChooseVeskFolder = 10204,
        kBuildDtexAddon = 10205,
        kBuildRegularAddon = 10206,
        kRecursiveImageConversion = 10208,
        kConvert3dmfToLwo = 10209,
        kBuildStandardCollection = 10210,
        kBuildHighResCollection = 10211,
        kSearchTextTags = 10213,
        kWindowMenu = 10300,
        kCloseAllWindows = 10301,
        kFirstWindowItem = 10302,
        kWindowSpy = 11000,
        kWidgetGallery = 11001,
        kAbout = 12000,
    };
    static constexpr int kMaxWindowItems = 98;

    // Creates the singleton on the first call and makes it the window system's menu bar.
    static RootMenu* Create();
    static RootMenu* Instance();
    ~RootMenu() override;

    const char* GetClassName() const override { return "RootMenu"; }
    bool HandleEvent(Window* target, int kind, Event& event) override;

    void RunCommand(int32_t command);
    // Asks each listed window to close; stops at the first that refuses.
    void CloseAllWindows();

private:
    RootMenu();
    void OnChosen(MenuItem* item);
    void OnOpening(MenuItem* item);
    void FillWindowMenu();
    void AddArchives();
    void ChooseVeskFolder();
    void Convert3dmfToLwo();

    MenuItem* windowMenu_ = nullptr;
    std::vector<Window*> listedWindows_;
};

}  // namespace tamber::shell
