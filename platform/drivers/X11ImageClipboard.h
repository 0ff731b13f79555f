#pragma once
// Clipboard images over X11 selections, on a connection of its own so that it
// never disturbs GLFW's. Offers and accepts "image/bmp" (a BMP file: the 14-byte
// file header followed by the device-independent bitmap).
#include <cstdint>
#include <memory>
#include <vector>

namespace tamber::platform {

class X11ImageClipboard {
public:
    X11ImageClipboard();
    ~X11ImageClipboard();
    X11ImageClipboard(const X11ImageClipboard&) = delete;
    X11ImageClipboard& operator=(const X11ImageClipboard&) = delete;

    // Takes ownership of the clipboard with this bitmap.
    bool Set(const std::vector<uint8_t>& dib);
    // Asks the clipboard's owner for a bitmap; waits at most half a second.
    bool Get(std::vector<uint8_t>& dib);
    // Answers other programs' requests for the bitmap we own; never blocks.
    void ServeRequests();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tamber::platform
