#pragma once
// One edit of a text box, kept in the box's own undo history: at a byte offset,
// removed text was replaced by inserted text. Doing it repeats the replacement and
// restores the selection after; undoing puts the removed text back and restores
// the selection before.
#include <string>

#include "ui/UndoHistory.h"

namespace tamber::ui::widgets {

class TextBox;

class TextBoxAction : public UndoableAction {
public:
    enum Kind : int {
        kDeletedForward = 0,
        kDeletedBackward = 1,
        kTypedCharacter = 2,
        kTypedOverSelection = 3,
        kReplacedSelection = 4,
    };
    struct Selection {
        int anchor = 0;
        int caret = 0;
    };

    TextBoxAction(TextBox* box, Kind kind, int position, std::string removed, std::string inserted,
                  Selection before, Selection after);

    bool Do(void* args) override;
    void Undo(void* args) override;

    Kind GetKind() const { return kind_; }
    const std::string& Inserted() const { return inserted_; }
    const std::string& Removed() const { return removed_; }

private:
    TextBox* box_;
    Kind kind_;
    int position_;
    std::string removed_;
    std::string inserted_;
    Selection before_;
    Selection after_;
};

}  // namespace tamber::ui::widgets
