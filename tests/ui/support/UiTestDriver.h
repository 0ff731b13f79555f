#pragma once
// Drives the window system in-process for UI tests. The test script runs as a
// coroutine on its own thread with a strict hand-off: while the script runs the
// window system waits, and while the window system pumps frames the script waits.
// Input goes through the platform's entry points; the clock moves only by frames
// (1/60 s each) or when the script says so. A modal run opened inside a handler
// pumps frames too, so the script reads straight through dialogs. The script
// thread never calls OpenGL: pixels are read by the main thread on request.
//
//   UiTestDriver ui;
//   ui.Run([](UiTestDriver& ui) {
//       ui.click("Log Viewer/OK");
//       EXPECT_EQ(...);
//   });
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/drivers/HeadlessDriver.h"
#include "ui/Event.h"
#include "ui/Font.h"
#include "ui/TexturePack.h"

using namespace tamber::platform;
using namespace tamber::ui;

class OffscreenGL;
namespace tamber::ui { class Window; class Skin; }

class UiTestDriver {
public:
    struct Options {
        int width = 1024;
        int height = 768;
        // Draw into an offscreen OpenGL context with the real font and skin.
        bool pixels = true;
        double watchdogSeconds = 60;
    };

    UiTestDriver();
    explicit UiTestDriver(Options options);
    ~UiTestDriver();

    // True when the window system (and, with pixels, OpenGL and resources) started.
    bool Ready() const { return ready_; }
    const std::string& Error() const { return error_; }

    // Runs the script on its own thread while this thread pumps the window system.
    void Run(const std::function<void(UiTestDriver&)>& script);

    // ---- Script side ----
    void step(int frames = 1);
    // Steps until no input is queued and nothing is dirty (at most maxFrames).
    void runUntilIdle(int maxFrames = 600);
    void moveTo(Point p);
    void click(Point p, int button = 0);
    void click(const char* path, int button = 0);
    void doubleClick(Point p, int button = 0);
    void doubleClick(const char* path, int button = 0);
    void drag(Point from, Point to, int button = 0);
    void wheel(int delta);
    // Presses the key with the modifiers (kModShift, kModCtrl, kModAlt) held.
    void key(int code, int modifiers = 0);
    // Types text: printable characters as key and character events, "\n" as Enter,
    // "\t" as Tab, "\b" as Backspace.
    void type(const std::string& text);
    // Moves the clock without running frames (to separate clicks, expire timers).
    void wait(double seconds);
    void requestQuit();

    // A window by name path, names of ancestors and descendants joined by '/'
    // ("Log Viewer/Channels"); a segment matches a name or, failing that, a class name.
    Window* find(const std::string& path) const;
    // Centre of a window's client area in surface pixels.
    static Point center(const Window* window);
    // The surface as RGBA rows from the top, after a full redraw, or after the next
    // frame as it comes (only the dirty areas redrawn).
    std::vector<uint8_t> pixels(bool fullRedraw = true);
    // Saves the surface as a PPM. A relative path is taken inside $TAMBER_SCREENSHOTS
    // and skipped (true) when that is not set, so test runs leave no pictures behind.
    bool screenshot(const std::string& ppmPath);

    HeadlessDriver& platform() { return platform_; }
    double now() const { return platform_.time; }
    int frames() const { return frames_; }

    static constexpr double kFrameSeconds = 1.0 / 60.0;

private:
    int Pump();
    void HandToScript();
    void WaitForTurn(bool script);
    void Fail(const char* what);

    Options options_;
    bool ready_ = false;
    std::string error_;
    HeadlessDriver platform_;
    std::unique_ptr<OffscreenGL> gl_;
    UploadedFont font_;
    UploadedPack pack_;
    std::unique_ptr<Skin> skin_;

    std::thread::id mainThread_;
    std::mutex mutex_;
    std::condition_variable turnChanged_;
    bool scriptTurn_ = false;
    bool scriptDone_ = false;
    int framesToRun_ = 0;
    int frames_ = 0;
    bool pixelRequest_ = false;
    std::vector<uint8_t> pixels_;
};
