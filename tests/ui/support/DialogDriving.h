#pragma once
// Helpers for tests that drive a tool's dialogs: a window that runs a command when
// clicked (so the command runs from an event handler, as from the menu), waiting for
// a window to open, and the text of a message box.
#include <functional>
#include <string>
#include <utility>

#include "tests/ui/support/UiTestDriver.h"
#include "ui/Window.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

namespace test_support {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

// Runs a root-menu command when clicked, as the menu does from a handler.
struct Opener : Window {
    explicit Opener(std::function<void()> action) : Window(kStyleVisible, nullptr), action(std::move(action)) {
        SetFrameXYWH(0, 0, 40, 40);
    }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed()) return;
        running = true;
        action();
        running = false;
    }
    std::function<void()> action;
    bool running = false;
};

// Steps until a window of this name is open: a build gets through one item per
// repaint of its progress window.
inline Window* WaitFor(UiTestDriver& ui, const char* name) {
    for (int i = 0; i < 600 && !ui.find(name); ++i) ui.step(1);
    return ui.find(name);
}

inline std::string BoxText(UiTestDriver& ui, const char* title) {
    auto* box = dynamic_cast<MessageBoxWindow*>(WaitFor(ui, title));
    return box && box->TextField() ? box->TextField()->Text() : "";
}

}  // namespace test_support
