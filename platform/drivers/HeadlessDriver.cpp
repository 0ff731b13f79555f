#include "platform/drivers/HeadlessDriver.h"

#include <cstring>

namespace tamber::platform {

bool HeadlessDriver::OpenWindow(int w, int h, const char* text, bool, bool sync) {
    if (!initialised_ || failOpen) return false;
    width = w;
    height = h;
    title = text ? text : "";
    vsync = sync;
    open_ = true;
    return true;
}

bool HeadlessDriver::ExtensionSupported(const char* name) {
    for (const std::string& extension : extensions) {
        if (extension == name) return true;
    }
    return false;
}

bool HeadlessDriver::DesktopWorkArea(int& x, int& y, int& w, int& h) {
    x = y = 0;
    w = workWidth;
    h = workHeight;
    return true;
}

bool HeadlessDriver::GetClipboardUtf8(std::string& text) {
    if (!clipboardHasText) return false;
    text = clipboardUtf8;
    return true;
}

bool HeadlessDriver::SetClipboardUtf8(const std::string& text) {
    clipboardUtf8 = text;
    clipboardHasText = true;
    return true;
}

bool HeadlessDriver::GetClipboardDib(std::vector<uint8_t>& dib) {
    if (clipboardDib.empty()) return false;
    dib = clipboardDib;
    return true;
}

bool HeadlessDriver::SetClipboardDib(const std::vector<uint8_t>& dib) {
    clipboardDib = dib;
    return true;
}

void HeadlessDriver::WindowSizeCallbackChanged() {
    OsCallbacks& cb = OsCurrentCallbacks();
    if (open_ && cb.windowSize) cb.windowSize(width, height);
}

void HeadlessDriver::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    WindowSizeCallbackChanged();
}

}  // namespace tamber::platform
