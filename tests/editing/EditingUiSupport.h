#pragma once
// Shared helpers for the editing tests that drive windows: the open message box and
// its text, the editor attached to a record, and a window whose click runs an
// action that may show a modal box, so the script can answer it.
#include <functional>
#include <string>

#include "editing/AttachmentKinds.h"
#include "editing/TagEdit.h"
#include "tags/Codex.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::editing;
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

struct Opener : Window {
    Opener() : Window(kStyleVisible, nullptr) { SetFrameXYWH(960, 700, 60, 60); }
    void OnMouseButton(Event& event) override {
        if (!event.ButtonPressed() || !action) return;
        running = true;
        action();
        running = false;
    }
    std::function<void()> action;
    bool running = false;  // true while the action's modal box is open
};

inline MessageBoxWindow* OpenBox() { return static_cast<MessageBoxWindow*>(WS().ModalWindow()); }

inline std::string BoxText() {
    MessageBoxWindow* box = OpenBox();
    return box && box->TextField() ? box->TextField()->Text() : std::string();
}

inline TagEdit* EditorOf(TagRecord* record) {
    return static_cast<TagEdit*>(Codex::Instance().FindAttachment(record, kAttachTagEditor));
}
