#include "tests/ui/support/UiTestDriver.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "tests/ui/support/OffscreenGL.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/TamberGL.h"
#include "ui/TexturePack.h"
#include "ui/Window.h"
#include "ui/WindowSystem.h"

using namespace tamber::ui;

UiTestDriver::UiTestDriver() : UiTestDriver(Options{}) {}

UiTestDriver::UiTestDriver(Options options) : options_(options) {
    OsSetDriver(&platform_);
    OsInit();
    platform_.OpenWindow(options.width, options.height, "Tamber", false, false);
    WindowSystem::Reset();
    WindowSystem& ws = WS();
    ws.SetDrawingEnabled(options.pixels);
    if (options.pixels) {
        gl_ = std::make_unique<OffscreenGL>(options.width, options.height);
        if (!gl_->Ok()) {
            error_ = "no offscreen OpenGL context: " + gl_->Error();
            return;
        }
        TamberGL_Init();
        font_ = LoadFont("res/kanterel.tamberfont");
        pack_ = LoadTexturePack("res/texturepack");
        if (!font_ || !pack_) {
            error_ = "resources missing (build the 'resources' target)";
            return;
        }
        skin_ = std::make_unique<Skin>(pack_.get());
        ws.SetDefaultFont(font_.get());
        ws.SetSkin(skin_.get());
    }
    ws.InitWindowSystem();
    ws.ConnectPlatform();
    ready_ = true;
}

UiTestDriver::~UiTestDriver() {
    WindowSystem::Reset();
    font_.reset();
    pack_.reset();
    gl_.reset();
    OsTerminate();
    OsSetDriver(nullptr);
}

void UiTestDriver::Fail(const char* what) {
    // A hung test cannot be unwound safely: report and end the process.
    std::fprintf(stderr, "UI test watchdog: %s after %.0f s\n", what, options_.watchdogSeconds);
    std::fflush(stderr);
    _exit(3);
}

void UiTestDriver::WaitForTurn(bool script) {
    std::unique_lock lock(mutex_);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(options_.watchdogSeconds);
    if (!turnChanged_.wait_until(lock, deadline, [&] { return scriptTurn_ == script || (!script && scriptDone_); })) {
        Fail(script ? "the window system did not hand back" : "the script did not yield");
    }
}

void UiTestDriver::HandToScript() {
    {
        std::lock_guard lock(mutex_);
        scriptTurn_ = true;
    }
    turnChanged_.notify_all();
    WaitForTurn(false);
}

int UiTestDriver::Pump() {
    // A pump asked for from the script's own thread (the window system repaints at
    // once after a surface resize) is left to the next real frame.
    if (std::this_thread::get_id() != mainThread_) return 1;
    platform_.time += kFrameSeconds;
    OsPollEvents();
    if (WS().FrameStep()) OsSwapBuffers();
    ++frames_;
    if (pixelRequest_ && gl_) {
        pixels_ = gl_->ReadPixels();
        pixelRequest_ = false;
    }
    if (framesToRun_ > 0) --framesToRun_;
    if (framesToRun_ == 0 && !scriptDone_) HandToScript();
    return scriptDone_ ? 0 : 1;
}

void UiTestDriver::Run(const std::function<void(UiTestDriver&)>& script) {
    if (!ready_) return;
    mainThread_ = std::this_thread::get_id();
    WindowSystem& ws = WS();
    ws.SetPump([this] { return Pump(); });
    ws.SurfaceResized(options_.width, options_.height);
    scriptDone_ = false;
    framesToRun_ = 2;
    std::thread thread([&] {
        WaitForTurn(true);
        script(*this);
        {
            std::lock_guard lock(mutex_);
            scriptDone_ = true;
            scriptTurn_ = false;
        }
        turnChanged_.notify_all();
    });
    ws.RunMainLoop();
    // The script may go on after a quit ended the loop: keep stepping for it.
    while (!scriptDone_) Pump();
    thread.join();
}

// ---- Script side ----

void UiTestDriver::step(int frames) {
    if (frames <= 0) return;
    {
        std::lock_guard lock(mutex_);
        framesToRun_ = frames;
        scriptTurn_ = false;
    }
    turnChanged_.notify_all();
    WaitForTurn(true);
}

void UiTestDriver::runUntilIdle(int maxFrames) {
    for (int i = 0; i < maxFrames; ++i) {
        step(1);
        if (WS().DirtyRects().empty() && !WS().FullRedrawPending()) return;
    }
}

void UiTestDriver::wait(double seconds) { platform_.time += seconds; }

void UiTestDriver::moveTo(Point p) {
    OsCurrentCallbacks().mousePos(p.x, p.y);
    step(1);
}

void UiTestDriver::click(Point p, int button) {
    moveTo(p);
    OsCurrentCallbacks().mouseButton(button, 1);
    step(1);
    OsCurrentCallbacks().mouseButton(button, 0);
    step(1);
    // Keep the next click from counting as the second half of a double click.
    wait(0.35);
}

void UiTestDriver::doubleClick(Point p, int button) {
    moveTo(p);
    for (int i = 0; i < 2; ++i) {
        OsCurrentCallbacks().mouseButton(button, 1);
        OsCurrentCallbacks().mouseButton(button, 0);
        step(1);
    }
    wait(0.35);
}

void UiTestDriver::drag(Point from, Point to, int button) {
    moveTo(from);
    OsCurrentCallbacks().mouseButton(button, 1);
    step(1);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        moveTo({from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
    }
    OsCurrentCallbacks().mouseButton(button, 0);
    step(1);
    wait(0.35);
}

void UiTestDriver::wheel(int delta) {
    static int position = 0;
    position += delta;
    OsCurrentCallbacks().mouseWheel(position);
    step(1);
}

void UiTestDriver::key(int code, int modifiers) {
    auto& press = OsCurrentCallbacks().key;
    const int mods[][2] = {{kModShift, kKeyLeftShift}, {kModCtrl, kKeyLeftCtrl}, {kModAlt, kKeyLeftAlt}};
    for (auto& m : mods) {
        if (modifiers & m[0]) press(m[1], 1);
    }
    press(code, 1);
    press(code, 0);
    for (auto& m : mods) {
        if (modifiers & m[0]) press(m[1], 0);
    }
    step(1);
}

void UiTestDriver::type(const std::string& text) {
    auto& press = OsCurrentCallbacks().key;
    for (unsigned char c : text) {
        if (c == '\n' || c == '\t' || c == '\b') {
            key(c == '\n' ? kKeyEnter : c == '\t' ? kKeyTab : kKeyBackspace);
            continue;
        }
        int code = (c >= 'a' && c <= 'z') ? c - 32 : (c < 128 ? c : 0);
        if (code) press(code, 1);
        OsCurrentCallbacks().character(c, 1);
        if (code) press(code, 0);
        step(1);
    }
}

void UiTestDriver::requestQuit() {
    if (OsCurrentCallbacks().windowClose) OsCurrentCallbacks().windowClose();
    else WS().QueueQuit();
    step(1);
}

Point UiTestDriver::center(const Window* window) {
    const Rect& r = window->Client().IsEmpty() ? window->Frame() : window->Client();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void UiTestDriver::click(const char* path, int button) {
    Window* window = find(path);
    if (!window) {
        std::fprintf(stderr, "UI test: no window \"%s\"\n", path);
        std::abort();
    }
    click(center(window), button);
}

void UiTestDriver::doubleClick(const char* path, int button) {
    Window* window = find(path);
    if (!window) {
        std::fprintf(stderr, "UI test: no window \"%s\"\n", path);
        std::abort();
    }
    doubleClick(center(window), button);
}

namespace {

bool Matches(const Window* w, const std::string& segment) {
    const char* name = w->GetName();
    return (name && segment == name) || segment == w->GetClassName();
}

Window* FindBelow(Window* parent, const std::string& segment) {
    for (Window* c = parent->FirstChild(); c; c = c->NextSibling()) {
        if (Matches(c, segment)) return c;
    }
    for (Window* c = parent->FirstChild(); c; c = c->NextSibling()) {
        if (Window* found = FindBelow(c, segment)) return found;
    }
    return nullptr;
}

}  // namespace

Window* UiTestDriver::find(const std::string& path) const {
    Window* current = WS().Root();
    size_t start = 0;
    while (current && start <= path.size()) {
        size_t slash = path.find('/', start);
        std::string segment = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        current = FindBelow(current, segment);
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return current;
}

std::vector<uint8_t> UiTestDriver::pixels(bool fullRedraw) {
    if (!gl_) return {};
    if (fullRedraw) WS().ForceFullRedraw();
    pixelRequest_ = true;
    step(1);
    return pixels_;
}

bool UiTestDriver::screenshot(const std::string& ppmPath) {
    std::vector<uint8_t> rgba = pixels();
    if (rgba.empty()) return false;
    // Relative names go to $TAMBER_SCREENSHOTS, and are only taken when it is set.
    std::string path = ppmPath;
    if (path.empty() || path[0] != '/') {
        const char* folder = std::getenv("TAMBER_SCREENSHOTS");
        if (!folder || !*folder) return true;
        path = std::string(folder) + "/" + path;
    }
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << options_.width << " " << options_.height << "\n255\n";
    for (size_t i = 0; i < rgba.size(); i += 4) out.write(reinterpret_cast<const char*>(&rgba[i]), 3);
    return bool(out);
}
