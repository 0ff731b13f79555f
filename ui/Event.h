#pragma once
// The seven-word event record the window system routes to windows, and the
// program's key codes and flags.
#include <cstdint>

namespace tamber::ui {

enum EventKind : int32_t {
    kEventKey = 0,
    kEventChar = 1,
    kEventMouseButton = 2,
    kEventDoubleClick = 3,
    kEventMouseMove = 4,
    kEventWheel = 5,
    kEventQuit = 6,
    kEventSurfaceResized = 7,
};

enum KeyCode : int32_t {
    kKeyEscape = 97,
    kKeyF1 = 98,
    kKeyF2 = 99,
    kKeyF4 = 101,
    kKeyF5 = 102,
    kKeyF10 = 107,
    kKeyF11 = 108,
    kKeyF12 = 109,
    kKeyTab = 113,
    kKeyLeftShift = 115,
    kKeyRightShift = 116,
    kKeyShift = 117,
    kKeyLeftCtrl = 118,
    kKeyRightCtrl = 119,
    kKeyCtrl = 120,
    kKeyLeftCommand = 121,
    kKeyRightCommand = 122,
    kKeyCommand = 123,
    kKeyLeftAlt = 124,
    kKeyRightAlt = 125,
    kKeyAlt = 126,
    kKeyBackspace = 127,
    kKeyEnter = 128,
    kKeyInsert = 129,
    kKeyHome = 130,
    kKeyPageUp = 131,
    kKeyPageDown = 132,
    kKeyEnd = 133,
    kKeyDelete = 134,
    kKeyUp = 135,
    kKeyDown = 136,
    kKeyLeft = 137,
    kKeyRight = 138,
    kKeyKeypadEnter = 144,
    kKeyCodeLimit = 157,
};

enum Modifier : int32_t {
    kModShift = 1,
    kModAlt = 2,
    kModCtrl = 4,
    kModCommand = 8,
};

constexpr int32_t kKeyRepeatBit = 16;
constexpr int32_t kHorizontalWheelBit = 32;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Event {
    int32_t word[7] = {0, 0, 0, 0, 0, 0, 0};

    int32_t Kind() const { return word[6]; }
    // Key events.
    int32_t Key() const { return word[0]; }
    bool Pressed() const { return word[1] != 0; }
    int32_t KeyFlags() const { return word[2]; }
    bool IsRepeat() const { return (word[2] & kKeyRepeatBit) != 0; }
    // Character events.
    int32_t Character() const { return word[0]; }
    // Mouse events.
    Point Position() const { return {word[0], word[1]}; }
    int32_t HitCode() const { return word[2]; }
    int32_t MouseModifiers() const { return word[3]; }
    int32_t Button() const { return word[4]; }
    bool ButtonPressed() const { return word[5] != 0; }
    int32_t WheelPosition() const { return word[5]; }
    // Modifier bits of key, character and mouse events alike.
    int32_t Modifiers() const { return Kind() <= kEventChar ? word[2] & 15 : word[3] & 15; }
    bool IsMouse() const { return Kind() >= kEventMouseButton && Kind() <= kEventWheel; }
};

}  // namespace tamber::ui
