#include "platform/drivers/GlfwDriver.h"

#include <cstdio>
#include <ctime>

#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>
#include <X11/Xlib.h>
#include <X11/cursorfont.h>

#include "platform/drivers/X11ImageClipboard.h"

namespace tamber::platform {

namespace {

double wheelPosition = 0;

void OnKey(GLFWwindow*, int key, int, int action, int) {
    int code = OsTranslateKey(key);
    OsCallbacks& cb = OsCurrentCallbacks();
    // GLFW 3 reports held keys as repeats; the window system sees them as presses.
    if (code && cb.key) cb.key(code, action == GLFW_RELEASE ? 0 : 1);
}

void OnChar(GLFWwindow*, unsigned int codepoint) {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.character && codepoint >= 32 && codepoint <= 255) cb.character(int(codepoint), 1);
}

void OnMouseButton(GLFWwindow*, int button, int action, int) {
    int translated = OsTranslateMouseButton(button);
    OsCallbacks& cb = OsCurrentCallbacks();
    if (translated >= 0 && cb.mouseButton) cb.mouseButton(translated, action == GLFW_PRESS ? 1 : 0);
}

void OnCursorPos(GLFWwindow*, double x, double y) {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.mousePos) cb.mousePos(int(x), int(y));
}

// The window system expects an absolute wheel position, as older GLFW reported it.
void OnScroll(GLFWwindow*, double, double dy) {
    wheelPosition += dy;
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.mouseWheel) cb.mouseWheel(int(wheelPosition));
}

void OnSize(GLFWwindow*, int width, int height) {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.windowSize) cb.windowSize(width, height);
}

// The program decides itself when to close: a close request becomes its quit request.
void OnClose(GLFWwindow* window) {
    glfwSetWindowShouldClose(window, GLFW_FALSE);
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.windowClose) cb.windowClose();
}

void OnRefresh(GLFWwindow*) {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (cb.windowRefresh) cb.windowRefresh();
}

void OnDrop(GLFWwindow*, int count, const char** paths) {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (!cb.drop) return;
    std::vector<std::string> list(paths, paths + count);
    cb.drop(list);
}

void OnError(int code, const char* description) { std::fprintf(stderr, "GLFW error %d: %s\n", code, description); }

}  // namespace

GlfwDriver::GlfwDriver() = default;
GlfwDriver::~GlfwDriver() = default;

bool GlfwDriver::Init() {
    if (initialised_) return true;
    glfwSetErrorCallback(OnError);
    initialised_ = glfwInit() == GLFW_TRUE;
    return initialised_;
}

void GlfwDriver::Terminate() {
    if (!initialised_) return;
    imageClipboard_.reset();
    cursors_.clear();
    glfwTerminate();
    window_ = nullptr;
    initialised_ = false;
}

bool GlfwDriver::OpenWindow(int width, int height, const char* title, bool fullscreen, bool vsync) {
    if (!initialised_ || window_) return false;
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_API);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    // 32 depth bits first; many X servers offer 24 only.
    for (int depth : {32, 24}) {
        glfwWindowHint(GLFW_DEPTH_BITS, depth);
        glfwSetErrorCallback(nullptr);
        window_ = glfwCreateWindow(width, height, title, monitor, nullptr);
        glfwSetErrorCallback(OnError);
        if (window_) break;
    }
    if (!window_) return false;
    glfwMakeContextCurrent(window_);
    glfwSwapInterval(vsync ? 1 : 0);
    glfwSetInputMode(window_, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
    InstallCallbacks();
    imageClipboard_ = std::make_unique<X11ImageClipboard>();
    return true;
}

void GlfwDriver::InstallCallbacks() {
    glfwSetKeyCallback(window_, OnKey);
    glfwSetCharCallback(window_, OnChar);
    glfwSetMouseButtonCallback(window_, OnMouseButton);
    glfwSetCursorPosCallback(window_, OnCursorPos);
    glfwSetScrollCallback(window_, OnScroll);
    glfwSetWindowSizeCallback(window_, OnSize);
    glfwSetWindowCloseCallback(window_, OnClose);
    glfwSetWindowRefreshCallback(window_, OnRefresh);
    glfwSetDropCallback(window_, OnDrop);
}

void* GlfwDriver::WindowHandle() {
    return window_ ? reinterpret_cast<void*>(glfwGetX11Window(window_)) : nullptr;
}

void GlfwDriver::PollEvents() {
    if (!initialised_) return;
    glfwPollEvents();
    if (imageClipboard_) imageClipboard_->ServeRequests();
}

void GlfwDriver::SwapBuffers() {
    if (window_) glfwSwapBuffers(window_);
}

double GlfwDriver::Time() { return initialised_ ? glfwGetTime() : 0.0; }

void GlfwDriver::Sleep(double seconds) {
    if (seconds <= 0) return;
    timespec ts;
    ts.tv_sec = time_t(seconds);
    ts.tv_nsec = long((seconds - double(ts.tv_sec)) * 1e9);
    nanosleep(&ts, nullptr);
}

void GlfwDriver::SetMousePos(int x, int y) {
    if (window_) glfwSetCursorPos(window_, x, y);
}

void GlfwDriver::ShowCursor(bool show) {
    if (window_) glfwSetInputMode(window_, GLFW_CURSOR, show ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

GLFWcursor* GlfwDriver::CursorFor(int shape) {
    auto found = cursors_.find(shape);
    if (found != cursors_.end()) return found->second;
    GLFWcursor* cursor = nullptr;
    int resource = 0;
    switch (shape) {
    case 1: cursor = glfwCreateStandardCursor(GLFW_HRESIZE_CURSOR); break;
    case 2: cursor = glfwCreateStandardCursor(GLFW_VRESIZE_CURSOR); break;
    case 5: cursor = glfwCreateStandardCursor(GLFW_IBEAM_CURSOR); break;
    case 6: cursor = glfwCreateStandardCursor(GLFW_CROSSHAIR_CURSOR); break;
    case 7: case 10: resource = 101; break;
    case 11: resource = 102; break;
    case 12: resource = 106; break;
    case 13: resource = 107; break;
    default: break;
    }
    if (const OsCursorImage* image = resource ? OsFindCursorImage(resource) : nullptr) {
        GLFWimage picture{image->width, image->height, const_cast<unsigned char*>(image->rgba.data())};
        cursor = glfwCreateCursor(&picture, image->hotX, image->hotY);
    }
    cursors_[shape] = cursor;
    return cursor;
}

void GlfwDriver::SetCursor(int shape) {
    if (!window_ || shape == currentShape_) return;
    currentShape_ = shape;
    // GLFW 3.3 has no diagonal or "not allowed" shapes: use the X cursor font for those.
    unsigned int xShape = 0;
    switch (shape) {
    case 3: xShape = XC_bottom_right_corner; break;
    case 4: xShape = XC_bottom_left_corner; break;
    case 8: case 9: xShape = XC_X_cursor; break;
    default: break;
    }
    if (xShape) {
        Display* display = glfwGetX11Display();
        Cursor cursor = XCreateFontCursor(display, xShape);
        XDefineCursor(display, glfwGetX11Window(window_), cursor);
        XFreeCursor(display, cursor);
        XFlush(display);
        return;
    }
    glfwSetCursor(window_, CursorFor(shape));
}

bool GlfwDriver::ExtensionSupported(const char* name) {
    return window_ && glfwExtensionSupported(name) == GLFW_TRUE;
}

void* GlfwDriver::GetProcAddress(const char* name) {
    return window_ ? reinterpret_cast<void*>(glfwGetProcAddress(name)) : nullptr;
}

void GlfwDriver::WindowSize(int& width, int& height) {
    width = height = 0;
    if (window_) glfwGetWindowSize(window_, &width, &height);
}

void GlfwDriver::SetWindowTitle(const char* title) {
    if (window_) glfwSetWindowTitle(window_, title);
}

void GlfwDriver::Maximise() {
    if (window_) glfwMaximizeWindow(window_);
}

void GlfwDriver::SetWindowIcon(int width, int height, const uint8_t* rgba) {
    if (!window_ || !rgba) return;
    GLFWimage icon{width, height, const_cast<unsigned char*>(rgba)};
    glfwSetWindowIcon(window_, 1, &icon);
}

bool GlfwDriver::DesktopWorkArea(int& x, int& y, int& width, int& height) {
    GLFWmonitor* monitor = initialised_ ? glfwGetPrimaryMonitor() : nullptr;
    if (!monitor) return false;
    glfwGetMonitorWorkarea(monitor, &x, &y, &width, &height);
    return width > 0 && height > 0;
}

void GlfwDriver::Beep() {
    if (!initialised_) return;
    if (Display* display = glfwGetX11Display()) {
        XBell(display, 0);
        XFlush(display);
    }
}

bool GlfwDriver::GetClipboardUtf8(std::string& text) {
    if (!window_) return false;
    glfwSetErrorCallback(nullptr);
    const char* utf8 = glfwGetClipboardString(window_);
    glfwSetErrorCallback(OnError);
    if (!utf8) return false;
    text = utf8;
    return true;
}

bool GlfwDriver::SetClipboardUtf8(const std::string& text) {
    if (!window_) return false;
    glfwSetClipboardString(window_, text.c_str());
    return true;
}

bool GlfwDriver::GetClipboardDib(std::vector<uint8_t>& dib) {
    return imageClipboard_ && imageClipboard_->Get(dib);
}

bool GlfwDriver::SetClipboardDib(const std::vector<uint8_t>& dib) {
    return imageClipboard_ && imageClipboard_->Set(dib);
}

void GlfwDriver::WindowSizeCallbackChanged() {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (!window_ || !cb.windowSize) return;
    int width = 0, height = 0;
    glfwGetWindowSize(window_, &width, &height);
    cb.windowSize(width, height);
}

}  // namespace tamber::platform
