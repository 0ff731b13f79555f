#pragma once
// A driver without a window, for tests: the clock moves only when told, the
// clipboard lives in memory, beeps and cursor changes are counted, and input is
// injected by calling the stored callbacks (see Inject*). Drawing, when a test
// needs pixels, goes to an offscreen context the test makes current itself.
#include <string>
#include <vector>

#include "platform/OsDriver.h"

namespace tamber::platform {

class HeadlessDriver : public OsDriver {
public:
    bool Init() override { return initialised_ = true; }
    void Terminate() override { initialised_ = false, open_ = false; }
    bool OpenWindow(int width, int height, const char* title, bool fullscreen, bool vsync) override;
    bool HasWindow() const override { return open_; }
    void* WindowHandle() override { return open_ ? this : nullptr; }
    void PollEvents() override { ++polls; }
    void SwapBuffers() override { ++swaps; }
    double Time() override { return time; }
    // Sleeping moves the fake clock, so paced loops still advance.
    void Sleep(double seconds) override { time += seconds; }
    void SetMousePos(int x, int y) override { mouseX = x, mouseY = y; }
    void ShowCursor(bool show) override { cursorShown = show; }
    void SetCursor(int shape) override { cursorShape = shape; }
    bool ExtensionSupported(const char* name) override;
    void* GetProcAddress(const char* name) override { return procAddress ? procAddress(name) : nullptr; }
    void WindowSize(int& w, int& h) override { w = width, h = height; }
    void SetWindowTitle(const char* text) override { title = text ? text : ""; }
    void Maximise() override { maximised = true; }
    void SetWindowIcon(int, int, const uint8_t*) override {}
    bool DesktopWorkArea(int& x, int& y, int& w, int& h) override;
    void Beep() override { ++beeps; }
    bool GetClipboardUtf8(std::string& text) override;
    bool SetClipboardUtf8(const std::string& text) override;
    bool GetClipboardDib(std::vector<uint8_t>& dib) override;
    bool SetClipboardDib(const std::vector<uint8_t>& dib) override;
    void WindowSizeCallbackChanged() override;

    // Resizes the fake window and tells the window system, as a real resize would.
    void Resize(int newWidth, int newHeight);

    double time = 0;
    int width = 0, height = 0;
    int workWidth = 1280, workHeight = 1024;
    bool failOpen = false;
    bool maximised = false;
    bool vsync = false;
    std::string title;
    int cursorShape = 0;
    bool cursorShown = true;
    int mouseX = 0, mouseY = 0;
    int beeps = 0, swaps = 0, polls = 0;
    std::vector<std::string> extensions;
    void* (*procAddress)(const char*) = nullptr;
    bool clipboardHasText = false;
    std::string clipboardUtf8;
    std::vector<uint8_t> clipboardDib;

private:
    bool initialised_ = false;
    bool open_ = false;
};

}  // namespace tamber::platform
