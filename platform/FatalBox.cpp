// The fatal-error box, drawn with plain Xlib so it works before (and without) the
// program's own toolkit and OpenGL.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Os.h"

namespace tamber::platform {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 130;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

void DrawBox(Display* display, Window window, GC gc, const char* text) {
    XClearWindow(display, window);
    // Wrap the text at word boundaries to the window width.
    std::string line, word;
    int y = 28;
    auto flush = [&] {
        XDrawString(display, window, gc, 16, y, line.c_str(), int(line.size()));
        y += 16;
        line.clear();
    };
    std::string all = std::string(text) + " ";
    for (char c : all) {
        if (c != ' ') {
            word += c;
            continue;
        }
        if (!line.empty() && (line.size() + word.size() + 1) * 6 > size_t(kWidth - 32)) flush();
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    }
    if (!line.empty()) flush();
    int bx = (kWidth - kButtonWidth) / 2, by = kHeight - kButtonHeight - 12;
    XDrawRectangle(display, window, gc, bx, by, kButtonWidth, kButtonHeight);
    XDrawString(display, window, gc, bx + kButtonWidth / 2 - 6, by + 17, "OK", 2);
}

}  // namespace

void OsShowFatalBox(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title, text);
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen),
                                        (DisplayWidth(display, screen) - kWidth) / 2,
                                        (DisplayHeight(display, screen) - kHeight) / 2, kWidth, kHeight, 1,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, title);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, screen));
    XMapRaised(display, window);
    for (bool done = false; !done;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
        case Expose: DrawBox(display, window, gc, text); break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            done = key == XK_Return || key == XK_KP_Enter || key == XK_space || key == XK_Escape;
            break;
        }
        case ButtonPress: {
            int bx = (kWidth - kButtonWidth) / 2, by = kHeight - kButtonHeight - 12;
            done = event.xbutton.x >= bx && event.xbutton.x < bx + kButtonWidth && event.xbutton.y >= by &&
                   event.xbutton.y < by + kButtonHeight;
            break;
        }
        case ClientMessage: done = Atom(event.xclient.data.l[0]) == deleteWindow; break;
        default: break;
        }
    }
    XFreeGC(display, gc);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

}  // namespace tamber::platform
