#pragma once
// A window's tie to the collection editor it shows part of. The window registers
// itself with the editor as open (by the kind of item it shows); the link takes it
// off the editor's list when the window closes or is destroyed, and from then on
// reads as no editor, so that a closed window leaves the collection alone.
namespace tamber::ui {
class Event;
class Window;
}

namespace tamber::collections::editor {

class X256Edit;

class EditorLink {
public:
    EditorLink(X256Edit& editor, ui::Window* window) : editor_(&editor), window_(window) {}
    EditorLink(const EditorLink&) = delete;
    EditorLink& operator=(const EditorLink&) = delete;
    ~EditorLink() { Release(); }

    // For the window's OnClose.
    void Release();
    // Ctrl+Z and Ctrl+Y undo and redo on the collection's history, which serves
    // every window of the collection; false for other keys.
    bool HandleUndoKeys(ui::Event& event);

    X256Edit* get() const { return editor_; }
    X256Edit* operator->() const { return editor_; }
    X256Edit& operator*() const { return *editor_; }
    explicit operator bool() const { return editor_ != nullptr; }

private:
    X256Edit* editor_;
    ui::Window* window_;
};

}  // namespace tamber::collections::editor
