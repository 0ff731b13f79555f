// Clipboard images through real X11 selections (run under Xvfb): a texture copied
// by one connection is pasted by another as PNG or as a bitmap, and another
// program asking for "image/png" gets a PNG file.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "images/MediaFile.h"
#include "platform/ClipboardImageCodec.h"
#include "platform/OsDriver.h"
#include "platform/drivers/X11ImageClipboard.h"
#include "terrain/editor/ClipboardPng.h"

// Last: Xlib defines Status as a macro.
#include <X11/Xlib.h>

using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::platform;

namespace {

// Serves the owner's clipboard on a thread of its own while the test asks for it.
class Server {
public:
    explicit Server(X11ImageClipboard& owner) : thread_([this, &owner] {
        while (!stop_) {
            owner.ServeRequests();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }) {}
    ~Server() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// What another program gets when it asks for the clipboard in `target`.
std::vector<uint8_t> AskAsAnotherProgram(const char* target) {
    Display* display = XOpenDisplay(nullptr);
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = XInternAtom(display, "PASTE", False);
    XConvertSelection(display, XInternAtom(display, "CLIPBOARD", False), XInternAtom(display, target, False), property,
                      window, CurrentTime);
    XEvent event;
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 500; ++i) {
        if (XCheckTypedWindowEvent(display, window, SelectionNotify, &event)) {
            Atom type;
            int format;
            unsigned long count, remaining;
            unsigned char* data = nullptr;
            if (event.xselection.property != None &&
                XGetWindowProperty(display, window, property, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count,
                                   &remaining, &data) == Success && data) {
                bytes.assign(data, data + count);
                XFree(data);
            }
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return bytes;
}

}  // namespace

TEST(Clipboard, ImagesCrossConnectionsAsPngAndBitmap) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 8 * 4 * 3; ++i) rgb.push_back(uint8_t(i * 9));
    X11ImageClipboard owner, reader;

    // Without a codec, the bitmap alone.
    ASSERT_TRUE(owner.Set(OsEncodeDib(rgb.data(), 8, 4)));
    {
        Server server(owner);
        std::vector<uint8_t> dib, back;
        int w = 0, h = 0;
        ASSERT_TRUE(reader.Get(dib));
        ASSERT_TRUE(OsDecodeDib(dib, back, w, h));
        EXPECT_EQ(back, rgb);
        EXPECT_TRUE(AskAsAnotherProgram("image/png").empty());
    }

    // With the codec, PNG is offered too and taken first.
    tamber::terrain::editor::InstallClipboardPng();
    ASSERT_TRUE(owner.Set(OsEncodeDib(rgb.data(), 8, 4)));
    Server server(owner);
    const std::vector<uint8_t> png = AskAsAnotherProgram("image/png");
    Result<Image> image = DecodeImage(png.data(), png.size(), kFormatPng);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 8);
    EXPECT_EQ(image->pixels, rgb);
    const std::vector<uint8_t> bmp = AskAsAnotherProgram("image/bmp");
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    std::vector<uint8_t> dib, back;
    int w = 0, h = 0;
    ASSERT_TRUE(reader.Get(dib));
    ASSERT_TRUE(OsDecodeDib(dib, back, w, h));
    EXPECT_EQ(back, rgb);
    OsSetClipboardPngCodec({});
}
