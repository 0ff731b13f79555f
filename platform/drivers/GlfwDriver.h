#pragma once
// The program's driver: one GLFW 3 window with a compatibility OpenGL context on
// X11. Input callbacks are translated to the program's codes before they reach the
// window system; the clipboard image travels as image/bmp through X11 selections.
#include <map>
#include <memory>

#include "platform/OsDriver.h"

struct GLFWwindow;
struct GLFWcursor;

namespace tamber::platform {

class X11ImageClipboard;

class GlfwDriver : public OsDriver {
public:
    GlfwDriver();
    ~GlfwDriver() override;

    bool Init() override;
    void Terminate() override;
    bool OpenWindow(int width, int height, const char* title, bool fullscreen, bool vsync) override;
    bool HasWindow() const override { return window_ != nullptr; }
    void* WindowHandle() override;
    void PollEvents() override;
    void SwapBuffers() override;
    double Time() override;
    void Sleep(double seconds) override;
    void SetMousePos(int x, int y) override;
    void ShowCursor(bool show) override;
    void SetCursor(int shape) override;
    bool ExtensionSupported(const char* name) override;
    void* GetProcAddress(const char* name) override;
    void WindowSize(int& width, int& height) override;
    void SetWindowTitle(const char* title) override;
    void Maximise() override;
    void SetWindowIcon(int width, int height, const uint8_t* rgba) override;
    bool DesktopWorkArea(int& x, int& y, int& width, int& height) override;
    void Beep() override;
    bool GetClipboardUtf8(std::string& text) override;
    bool SetClipboardUtf8(const std::string& text) override;
    bool GetClipboardDib(std::vector<uint8_t>& dib) override;
    bool SetClipboardDib(const std::vector<uint8_t>& dib) override;
    void WindowSizeCallbackChanged() override;

private:
    GLFWcursor* CursorFor(int shape);
    void InstallCallbacks();

    bool initialised_ = false;
    GLFWwindow* window_ = nullptr;
    std::map<int, GLFWcursor*> cursors_;
    int currentShape_ = -1;
    std::unique_ptr<X11ImageClipboard> imageClipboard_;
};

}  // namespace tamber::platform
