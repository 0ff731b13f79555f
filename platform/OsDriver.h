#pragma once
// The interface behind the Os functions. One driver is active at a time:
// GlfwDriver for the program, HeadlessDriver for tests (no window, a clock that
// moves only when told). OsSetDriver in platform/Os.h picks it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Os.h"

namespace tamber::platform {

// The window system's entry points, stored by the layer and called by drivers
// with input already translated to the program's codes.
struct OsCallbacks {
    OsKeyCallback key = nullptr;
    OsCharCallback character = nullptr;
    OsMouseButtonCallback mouseButton = nullptr;
    OsMousePosCallback mousePos = nullptr;
    OsMouseWheelCallback mouseWheel = nullptr;
    OsWindowSizeCallback windowSize = nullptr;
    OsWindowCloseCallback windowClose = nullptr;
    OsWindowRefreshCallback windowRefresh = nullptr;
    OsDropCallback drop = nullptr;
};

class OsDriver {
public:
    virtual ~OsDriver() = default;

    // True when the library behind the driver started.
    virtual bool Init() = 0;
    virtual void Terminate() = 0;
    // Opens the one window with its OpenGL context; false when it cannot be opened.
    virtual bool OpenWindow(int width, int height, const char* title, bool fullscreen, bool vsync) = 0;
    virtual bool HasWindow() const = 0;
    virtual void* WindowHandle() = 0;
    // Delivers pending input through OsCallbacks(); never blocks.
    virtual void PollEvents() = 0;
    virtual void SwapBuffers() = 0;
    virtual double Time() = 0;
    virtual void Sleep(double seconds) = 0;
    virtual void SetMousePos(int x, int y) = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void SetCursor(int shape) = 0;
    virtual bool ExtensionSupported(const char* name) = 0;
    virtual void* GetProcAddress(const char* name) = 0;
    virtual void WindowSize(int& width, int& height) = 0;
    virtual void SetWindowTitle(const char* title) = 0;
    virtual void Maximise() = 0;
    virtual void SetWindowIcon(int width, int height, const uint8_t* rgba) = 0;
    virtual bool DesktopWorkArea(int& x, int& y, int& width, int& height) = 0;
    virtual void Beep() = 0;
    // Clipboard text in UTF-8.
    virtual bool GetClipboardUtf8(std::string& text) = 0;
    virtual bool SetClipboardUtf8(const std::string& text) = 0;
    // A 24-bit device-independent bitmap (40-byte header, bottom-up BGR rows).
    virtual bool GetClipboardDib(std::vector<uint8_t>& dib) = 0;
    virtual bool SetClipboardDib(const std::vector<uint8_t>& dib) = 0;
    // The size callback changed; drivers with a window call it at once.
    virtual void WindowSizeCallbackChanged() = 0;
};

OsCallbacks& OsCurrentCallbacks();

struct OsCursorImage {
    int resourceId = 0;
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint8_t> rgba;
};
// The picture registered for a resource cursor, or null.
const OsCursorImage* OsFindCursorImage(int resourceId);

// The device-independent bitmap form of the clipboard image: a 40-byte header
// (bottom-up rows, 24 bits) and BGR rows padded to 4 bytes.
std::vector<uint8_t> OsEncodeDib(const uint8_t* rgb, int width, int height);
// Accepts only 24-bit uncompressed bitmaps whose rows fit in the bytes given.
bool OsDecodeDib(const std::vector<uint8_t>& dib, std::vector<uint8_t>& rgb, int& width, int& height);

// UTF-8 and UTF-16 conversions used for the clipboard.
std::u16string OsUtf8ToUtf16(const std::string& utf8);
std::string OsUtf16ToUtf8(const std::u16string& utf16);

}  // namespace tamber::platform
