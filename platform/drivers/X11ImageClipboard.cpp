#include "platform/drivers/X11ImageClipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <ctime>

#include "platform/ClipboardImageCodec.h"
#include "platform/OsDriver.h"

namespace tamber::platform {

struct X11ImageClipboard::State {
    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0, targets = 0, bmp = 0, png = 0, property = 0, incr = 0;
    std::vector<uint8_t> owned;     // the BMP file we offer
    std::vector<uint8_t> ownedPng;  // the same image as PNG, when a codec is installed
};

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr long kMaxImageBytes = 256L * 1024 * 1024;

double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

}  // namespace

X11ImageClipboard::X11ImageClipboard() : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.display = XOpenDisplay(nullptr);
    if (!s.display) return;
    s.window = XCreateSimpleWindow(s.display, DefaultRootWindow(s.display), 0, 0, 1, 1, 0, 0, 0);
    s.clipboard = XInternAtom(s.display, "CLIPBOARD", False);
    s.targets = XInternAtom(s.display, "TARGETS", False);
    s.bmp = XInternAtom(s.display, "image/bmp", False);
    s.png = XInternAtom(s.display, "image/png", False);
    s.property = XInternAtom(s.display, "TAMBER_CLIPBOARD", False);
    s.incr = XInternAtom(s.display, "INCR", False);
}

X11ImageClipboard::~X11ImageClipboard() {
    if (state_->display) {
        XDestroyWindow(state_->display, state_->window);
        XCloseDisplay(state_->display);
    }
}

bool X11ImageClipboard::Set(const std::vector<uint8_t>& dib) {
    State& s = *state_;
    if (!s.display) return false;
    uint32_t fileSize = uint32_t(kFileHeaderSize + dib.size());
    uint32_t dataOffset = uint32_t(kFileHeaderSize + 40);
    s.owned.assign(kFileHeaderSize, 0);
    s.owned[0] = 'B';
    s.owned[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        s.owned[2 + i] = uint8_t(fileSize >> (8 * i));
        s.owned[10 + i] = uint8_t(dataOffset >> (8 * i));
    }
    s.owned.insert(s.owned.end(), dib.begin(), dib.end());
    s.ownedPng.clear();
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    if (OsClipboardPngCodec().encode && OsDecodeDib(dib, rgb, width, height))
        s.ownedPng = OsClipboardPngCodec().encode(rgb, width, height);
    XSetSelectionOwner(s.display, s.clipboard, s.window, CurrentTime);
    XFlush(s.display);
    return XGetSelectionOwner(s.display, s.clipboard) == s.window;
}

namespace {

// The atoms and window a request goes through.
struct Requester {
    Display* display;
    Window window;
    Atom clipboard, property, incr;
};

// Asks the clipboard's owner for the selection in one target; waits at most half a second.
bool RequestTarget(const Requester& s, Atom target, std::vector<uint8_t>& bytes) {
    XConvertSelection(s.display, s.clipboard, target, s.property, s.window, CurrentTime);
    XFlush(s.display);
    double deadline = Now() + 0.5;
    XEvent event;
    bool answered = false;
    while (!answered && Now() < deadline) {
        if (XCheckTypedWindowEvent(s.display, s.window, SelectionNotify, &event)) {
            answered = true;
        } else {
            timespec pause{0, 5000000};
            nanosleep(&pause, nullptr);
        }
    }
    if (!answered || event.xselection.property == None) return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(s.display, s.window, s.property, 0, kMaxImageBytes / 4, True, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) != Success) {
        return false;
    }
    // Incremental transfers are not supported: such images are too large to paste.
    const bool taken = data && type != s.incr && format == 8;
    if (taken) bytes.assign(data, data + count);
    if (data) XFree(data);
    return taken;
}

}  // namespace

bool X11ImageClipboard::Get(std::vector<uint8_t>& dib) {
    State& s = *state_;
    if (!s.display) return false;
    std::vector<uint8_t> file;
    if (XGetSelectionOwner(s.display, s.clipboard) == s.window) {
        file = s.owned;
    } else {
        // PNG first when a codec can read it, else the bitmap.
        const ClipboardImageCodec& codec = OsClipboardPngCodec();
        std::vector<uint8_t> png, rgb;
        int width = 0, height = 0;
        const Requester requester{s.display, s.window, s.clipboard, s.property, s.incr};
        if (codec.decode && RequestTarget(requester, s.png, png) && codec.decode(png, rgb, width, height)) {
            dib = OsEncodeDib(rgb.data(), width, height);
            return true;
        }
        if (!RequestTarget(requester, s.bmp, file)) return false;
    }
    if (file.size() < kFileHeaderSize + 40 || file[0] != 'B' || file[1] != 'M') return false;
    dib.assign(file.begin() + kFileHeaderSize, file.end());
    return true;
}

void X11ImageClipboard::ServeRequests() {
    State& s = *state_;
    if (!s.display) return;
    XEvent event;
    while (XPending(s.display)) {
        XNextEvent(s.display, &event);
        if (event.type == SelectionClear) {
            s.owned.clear();
            s.ownedPng.clear();
            continue;
        }
        if (event.type != SelectionRequest) continue;
        XSelectionRequestEvent& request = event.xselectionrequest;
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.display = request.display;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        Atom property = request.property != None ? request.property : request.target;
        if (request.target == s.targets) {
            Atom offered[3] = {s.targets, s.bmp, s.png};
            XChangeProperty(s.display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered), s.ownedPng.empty() ? 2 : 3);
            reply.xselection.property = property;
        } else if (request.target == s.bmp && !s.owned.empty()) {
            XChangeProperty(s.display, request.requestor, property, s.bmp, 8, PropModeReplace, s.owned.data(),
                            int(s.owned.size()));
            reply.xselection.property = property;
        } else if (request.target == s.png && !s.ownedPng.empty()) {
            XChangeProperty(s.display, request.requestor, property, s.png, 8, PropModeReplace, s.ownedPng.data(),
                            int(s.ownedPng.size()));
            reply.xselection.property = property;
        }
        XSendEvent(s.display, request.requestor, False, 0, &reply);
    }
    XFlush(s.display);
}

}  // namespace tamber::platform
