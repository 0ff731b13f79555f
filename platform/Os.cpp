#include "platform/Os.h"

#include <cstring>
#include <memory>

#include "platform/OsDriver.h"
#include "platform/drivers/GlfwDriver.h"

namespace tamber::platform {

namespace {

OsCallbacks callbacks;
OsDriver* current = nullptr;
std::vector<OsCursorImage> cursorImages;
OsToUnicode toUnicode = nullptr;
OsFromUnicode fromUnicode = nullptr;

OsDriver& Driver() {
    if (!current) {
        static GlfwDriver glfw;
        current = &glfw;
    }
    return *current;
}

std::u16string Latin1ToUtf16(const std::string& text) {
    std::u16string out;
    for (unsigned char c : text) out += static_cast<char16_t>(c);
    return out;
}

std::string Utf16ToLatin1(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += static_cast<char>(c < 256 ? c : 255);
    return out;
}

}  // namespace

OsCallbacks& OsCurrentCallbacks() { return callbacks; }
void OsSetDriver(OsDriver* driver) { current = driver; }
OsDriver* OsGetDriver() { return &Driver(); }

bool OsSpecificInit() {
    // Nothing to set up here: standard output and error already reach the terminal.
    return true;
}

void OsInit() {
    callbacks.key = nullptr;
    callbacks.mouseButton = nullptr;
    Driver().Init();
}

bool OsSetWindow(int width, int height, const char* title, bool fullscreen, bool vsync) {
    return Driver().OpenWindow(width, height, title, fullscreen, vsync);
}

void* OsGetWindowHandle() { return Driver().WindowHandle(); }
void OsPollEvents() { Driver().PollEvents(); }
void OsSwapBuffers() { Driver().SwapBuffers(); }
double OsGetTime() { return Driver().Time(); }
void OsSleep(double seconds) { Driver().Sleep(seconds); }
void OsTerminate() { Driver().Terminate(); }
void OsSetMousePos(int x, int y) { Driver().SetMousePos(x, y); }
void OsShowCursor(bool show) { Driver().ShowCursor(show); }
void OsSetCursor(int shape) { Driver().SetCursor(shape); }
bool OsExtensionSupported(const char* name) { return Driver().ExtensionSupported(name); }
void* OsGetProcAddress(const char* name) { return Driver().GetProcAddress(name); }
void OsGetWindowSize(int& width, int& height) { Driver().WindowSize(width, height); }
void OsSetWindowTitle(const char* title) { Driver().SetWindowTitle(title); }
void OsMaximiseWindow() { Driver().Maximise(); }
void OsSetWindowIcon(int width, int height, const uint8_t* rgba) { Driver().SetWindowIcon(width, height, rgba); }
bool OsGetDesktopWorkArea(int& x, int& y, int& width, int& height) {
    return Driver().DesktopWorkArea(x, y, width, height);
}
void OsBeep() { Driver().Beep(); }

void OsSetKeyCallback(OsKeyCallback callback) { callbacks.key = callback; }
void OsSetMouseButtonCallback(OsMouseButtonCallback callback) { callbacks.mouseButton = callback; }
void OsSetCharCallback(OsCharCallback callback) { callbacks.character = callback; }
void OsSetMousePosCallback(OsMousePosCallback callback) { callbacks.mousePos = callback; }
void OsSetMouseWheelCallback(OsMouseWheelCallback callback) { callbacks.mouseWheel = callback; }
void OsSetWindowCloseCallback(OsWindowCloseCallback callback) { callbacks.windowClose = callback; }
void OsSetWindowRefreshCallback(OsWindowRefreshCallback callback) { callbacks.windowRefresh = callback; }
void OsSetDropCallback(OsDropCallback callback) { callbacks.drop = callback; }
void OsSetWindowSizeCallback(OsWindowSizeCallback callback) {
    callbacks.windowSize = callback;
    Driver().WindowSizeCallbackChanged();
}

void OsRegisterCursorImage(int resourceId, int width, int height, const uint8_t* rgba, int hotX, int hotY) {
    if (width <= 0 || height <= 0 || !rgba) return;
    OsCursorImage image{resourceId, width, height, hotX, hotY,
                        std::vector<uint8_t>(rgba, rgba + size_t(width) * size_t(height) * 4)};
    for (OsCursorImage& existing : cursorImages) {
        if (existing.resourceId == resourceId) {
            existing = std::move(image);
            return;
        }
    }
    cursorImages.push_back(std::move(image));
}

const OsCursorImage* OsFindCursorImage(int resourceId) {
    for (const OsCursorImage& image : cursorImages) {
        if (image.resourceId == resourceId) return &image;
    }
    return nullptr;
}

void OsSetCharacterSet(OsToUnicode to, OsFromUnicode from) {
    toUnicode = to;
    fromUnicode = from;
}

bool OsGetClipboardText(std::string& text) {
    std::string utf8;
    if (!Driver().GetClipboardUtf8(utf8)) return false;
    std::u16string utf16 = OsUtf8ToUtf16(utf8);
    text = fromUnicode ? fromUnicode(utf16) : Utf16ToLatin1(utf16);
    return true;
}

bool OsSetClipboardText(const std::string& text) {
    std::u16string utf16 = toUnicode ? toUnicode(text) : Latin1ToUtf16(text);
    return Driver().SetClipboardUtf8(OsUtf16ToUtf8(utf16));
}

bool OsGetClipboardImage(std::vector<uint8_t>& rgb, int& width, int& height) {
    std::vector<uint8_t> dib;
    return Driver().GetClipboardDib(dib) && OsDecodeDib(dib, rgb, width, height);
}

bool OsSetClipboardImage(const uint8_t* rgb, int width, int height) {
    if (!rgb || width <= 0 || height <= 0) return false;
    return Driver().SetClipboardDib(OsEncodeDib(rgb, width, height));
}

}  // namespace tamber::platform
