#include "shell/TamberApp.h"

#include <GL/gl.h>
#include <cstdlib>
#include <memory>

#include "editing/TagEditorRegistry.h"
#include "editing/TagInfoWindow.h"
#include "editing/WindowTagPrompts.h"
#include "editing/definitions/DefinitionFiles.h"
#include "images/MediaFile.h"
#include "platform/Os.h"
#include "shell/EditorInstall.h"
#include "shell/FileDrop.h"
#include "shell/FramePacer.h"
#include "shell/MessageLogWindow.h"
#include "shell/RootMenu.h"
#include "shell/StartupLog.h"
#include "shell/SwapChain.h"
#include "shell/TamberSplashScreen.h"
#include "base/Preferences.h"
#include "tags/Codex.h"
#include "tools/ArchiveBrowser.h"
#include "ui/CharSet.h"
#include "ui/Font.h"
#include "ui/PieceFile.h"
#include "ui/Skin.h"
#include "ui/SurfaceBuffer.h"
#include "ui/TamberGL.h"
#include "ui/TexturePack.h"
#include "ui/WindowSystem.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::shell {
using namespace tamber::editing;
using namespace tamber::definitions;
using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr int kMinWidth = 640, kMinHeight = 480, kMaxSide = 16384;

struct Shell {
    UploadedFont font;
    UploadedPack pack;
    std::unique_ptr<Skin> skin;
    SurfaceBuffer surface;
    FramePacer pacer{OsGetTime, OsSleep};
    int swapChainLength = 1;
};

Shell* shell = nullptr;

void Present() {
    shell->surface.PresentToBackBuffer();
    OsSwapBuffers();
}

// One iteration of the main loop: pace, poll, per-frame work, frame step, present.
int Pump() {
    shell->pacer.WaitForFrame();
    OsPollEvents();
    // Picks up loose tags written, changed or removed since the last frame; not while
    // a batch repaints its progress, since it may be walking the Codex's records.
    if (!WS().PresentingOnly()) Codex::Instance().RefreshLocalFolder(false);
    shell->surface.Bind();
    if (WS().FrameStep()) Present();
    return 1;
}

void OnSurfaceResized(int width, int height) {
    shell->surface.Resize(width, height);
    WS().SurfaceResized(width, height);
}

void RegisterHooks() {
    WindowSystem& ws = WS();
    ws.SetPump(Pump);
    // "Really Quit Tamber?"; then every top-level window (an editor may still refuse).
    ws.SetQuitConfirm([] { return ConfirmQuit() == 0 && WS().CloseAllTopLevel() ? 1 : 0; });
    ws.ConnectPlatform();
    OsSetWindowCloseCallback([] {
        WS().QueueQuit();
        return 0;
    });
    OsSetWindowRefreshCallback([] { Present(); });
    OsSetDropCallback(HandleDroppedFiles);
    OsSetWindowSizeCallback(OnSurfaceResized);
}

// The window icon: the splash picture, sampled down to 48 by 48.
void SetWindowIconFromSplash() {
    MediaFile file("res/tamber.bmp");
    if (!LoadImage(file) || file.image.format != kPixelRGB) return;
    constexpr int kSide = 48;
    std::vector<uint8_t> rgba(kSide * kSide * 4, 255);
    const Image& image = file.image;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const uint8_t* p = &image.pixels[(size_t(y * image.height / kSide) * image.width + x * image.width / kSide) * 3];
            std::copy(p, p + 3, &rgba[size_t(y * kSide + x) * 4]);
        }
    }
    OsSetWindowIcon(kSide, kSide, rgba.data());
}

void RegisterCursors() {
    auto cursors = ReadPieceFile("res/cursors");
    if (!cursors) return;
    for (const PieceImage& c : *cursors) {
        OsRegisterCursorImage(int(c.id), c.width, c.height, c.rgba.data(), c.hotX, c.hotY);
    }
}

void ReadWindowSize(int& width, int& height) {
    width = 1024;
    height = 768;
    int x = 0, y = 0;
    if (GetPrefInt("OsWindowSizeX", x) && GetPrefInt("OsWindowSizeY", y)) {
        width = x;
        height = y;
    }
    width = std::clamp(width, kMinWidth, kMaxSide);
    height = std::clamp(height, kMinHeight, kMaxSide);
}

void ShowSplashIfWanted() {
    int showSplash = 1;
    GetPrefInt("ShowSplash", showSplash);
    if (showSplash < 1) return;
    TamberSplashScreen::Show(false);
    if (showSplash == 1) SetPrefInt("ShowSplash", 0);
}

}  // namespace

int TamberMain() {
    Log("In main");
    OsSpecificInit();
    Log("OsSpecificInit Passed");

    // Defaults; the preferences file replaces them.
    SetPrefString("VeskPath", ".");
    SetPrefInt("ShowSplash", 1);
    SetPrefInt("UseVSync", 0);
    SetPrefInt("UseFullscreen", 0);
    (void)LoadPrefs();  // a missing or partly read file leaves the defaults above
    int vsync = 1, fullscreen = 0, width = 0, height = 0;
    GetPrefInt("UseVSync", vsync);
    GetPrefInt("UseFullscreen", fullscreen);
    ReadWindowSize(width, height);
    Log("ReadPrefs Passed");

    OsInit();
    Log("OsInit Passed");
    if (!OsSetWindow(width, height, "Tamber", fullscreen != 0, vsync != 0)) {
        Log("FATAL: OsSetWindow failed; quitting.");
        OsTerminate();
        return 0;
    }
    Log("OsSetWindow Passed");
    TamberGL_Init();
    Log("TamberGL_Init Passed");

    SetWindowIconFromSplash();
    RegisterCursors();
    int areaX = 0, areaY = 0, areaWidth = 0, areaHeight = 0;
    if (OsGetDesktopWorkArea(areaX, areaY, areaWidth, areaHeight) && !(width < areaWidth && height < areaHeight)) {
        OsMaximiseWindow();
    }
    Log("Window Adjustment OK");

    Shell state;
    shell = &state;
    state.swapChainLength = DetermineSwapChainLength();
    Log("DetermineSwapChainLength Passed");

    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    state.font = LoadFont("res/kanterel.tamberfont");
    if (!state.font) {
        OsShowFatalBox("Error", "The 'res' folder could not be found (improper installation?); quitting.");
        std::exit(0);
    }
    Log("Font loaded");

    LoadCharMap("charmap");
    OsSetCharacterSet(ToUnicode, FromUnicode);
    WindowSystem& ws = WS();
    ws.SetDefaultFont(state.font.get());
    state.pack = LoadTexturePack("res/texturepack");
    if (!state.pack) std::exit(-1);
    state.skin = std::make_unique<Skin>(state.pack.get());
    ws.SetSkin(state.skin.get());

    ws.InitWindowSystem();
    RegisterHooks();
    MessageLogWindow::Install();
    InstallChoosers();
    ArchiveBrowser::SetFolderChooser([](const char* title, std::string& folder) {
        return ChooseFolderOfKind(kFileKindArchive, title, folder);
    });
    ArchiveBrowser::SetFilesChooser([](const char* title, std::vector<std::string>& paths) {
        return OpenFilesOfKind(kFileKindArchive, title, paths);
    });
    ArchiveBrowser::SetInfoOpener(&ShowTagInfo);
    ws.SetPartialRedraw(true);
    RootMenu::Create();
    Log("Window System Initialized");
    if (Result<int> loaded = LoadDefinitionFiles("res"); !loaded) Log("%s", loaded.error().c_str());
    RegisterTagEditors(StructDefinitionNames());
    InstallEditors();
    InstallWindowTagPrompts();
    Log("XML Editors Initialized");
    ArchiveBrowser::InstallCodexHooks();
    InitCodex();
    Log("Codex Initialized");
    ShowArchiveBrowser();
    Log("Archive Browser Opened");

    Log("Entering main loop...");
    ws.SetNativeDialogActive(false);
    ShowSplashIfWanted();
    ws.RunMainLoop();

    Log("Shutting down...");
    WindowSystem::Reset();
    state.font.reset();
    state.skin.reset();
    state.pack.reset();
    CloseCodex();
    OsTerminate();
    if (const Status saved = SavePrefs(); !saved) Log("ERROR: %s", saved.error().c_str());
    shell = nullptr;
    Log("Graceful shutdown complete");
    return 0;
}

}  // namespace tamber::shell
