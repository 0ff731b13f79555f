#pragma once
// The platform layer: everything the program asks of the operating system goes
// through these functions. They forward to the active OsDriver (GLFW and X11 in
// the program, a headless driver in tests); see platform/OsDriver.h.
#include <cstdint>
#include <string>
#include <vector>

namespace tamber::platform {

// Entry points of the window system that the platform calls with translated input.
using OsKeyCallback = void (*)(int key, int action);          // action 1 press, 0 release
using OsCharCallback = void (*)(int character, int action);   // character in the platform's code (Unicode)
using OsMouseButtonCallback = void (*)(int button, int action);
using OsMousePosCallback = void (*)(int x, int y);
using OsMouseWheelCallback = void (*)(int position);
using OsWindowSizeCallback = void (*)(int width, int height);
using OsWindowCloseCallback = int (*)();                      // non-zero: the window may close
using OsWindowRefreshCallback = void (*)();
using OsDropCallback = void (*)(const std::vector<std::string>& paths);

bool OsSpecificInit();
void OsInit();
bool OsSetWindow(int width, int height, const char* title, bool fullscreen, bool vsync);
void* OsGetWindowHandle();
void OsPollEvents();
void OsSwapBuffers();
double OsGetTime();
void OsSleep(double seconds);
void OsTerminate();
void OsSetMousePos(int x, int y);
void OsShowCursor(bool show);
void OsSetCursor(int shape);
bool OsExtensionSupported(const char* name);
void* OsGetProcAddress(const char* name);
void OsGetWindowSize(int& width, int& height);
void OsSetWindowTitle(const char* title);
void OsMaximiseWindow();
void OsSetWindowIcon(int width, int height, const uint8_t* rgba);
// The usable desktop area (without panels); false when unknown.
bool OsGetDesktopWorkArea(int& x, int& y, int& width, int& height);
void OsBeep();

void OsSetKeyCallback(OsKeyCallback callback);
void OsSetMouseButtonCallback(OsMouseButtonCallback callback);
void OsSetCharCallback(OsCharCallback callback);
void OsSetMousePosCallback(OsMousePosCallback callback);
void OsSetMouseWheelCallback(OsMouseWheelCallback callback);
void OsSetWindowCloseCallback(OsWindowCloseCallback callback);
void OsSetWindowRefreshCallback(OsWindowRefreshCallback callback);
// Calls the callback at once with the current size.
void OsSetWindowSizeCallback(OsWindowSizeCallback callback);
void OsSetDropCallback(OsDropCallback callback);

// Clipboard text in the program's 8-bit character set.
bool OsGetClipboardText(std::string& text);
bool OsSetClipboardText(const std::string& text);
// 24-bit images only: top-down RGB, width x height x 3 bytes.
bool OsGetClipboardImage(std::vector<uint8_t>& rgb, int& width, int& height);
bool OsSetClipboardImage(const uint8_t* rgb, int width, int height);

// Translates a GLFW 3 key code to the program's key code; 0 for keys without one.
int OsTranslateKey(int glfwKey);
// Translates a GLFW mouse button to 0 left, 1 right, 2 middle; -1 for others.
int OsTranslateMouseButton(int glfwButton);

class OsDriver;
// Makes the driver current (not owned); null restores the GLFW driver.
void OsSetDriver(OsDriver* driver);
OsDriver* OsGetDriver();

// The program's own cursor pictures (shapes 7, 10, 11, 12, 13 use them), registered
// before the window opens or at any time after; rgba is width x height x 4 bytes.
void OsRegisterCursorImage(int resourceId, int width, int height, const uint8_t* rgba, int hotX, int hotY);

// Conversion between the program's 8-bit character set and Unicode, installed by the
// shell once the character map is known. Without it bytes are taken as Latin-1.
using OsToUnicode = std::u16string (*)(const std::string& text);
using OsFromUnicode = std::string (*)(const std::u16string& text);
void OsSetCharacterSet(OsToUnicode toUnicode, OsFromUnicode fromUnicode);

// A message box for failures before the window toolkit exists: a small window of
// its own with the text and an OK button, or, without a display, the title and
// text on standard error. Returns when the user has pressed OK (or at once).
void OsShowFatalBox(const char* title, const char* text);

}  // namespace tamber::platform
