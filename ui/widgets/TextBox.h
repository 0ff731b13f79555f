#pragma once
// The toolkit's one text control: a label, a read-only view, a one-line field, a
// number field or a multi-line editor, chosen by the mode given at construction.
// The text is 8-bit (the program's character set) and laid out into lines; every
// edit is an undoable TextBoxAction in the box's own history (Ctrl+Z, Ctrl+Y).
#include <cstdint>
#include <string>
#include <vector>

#include "ui/UndoHistory.h"
#include "ui/widgets/ScrollableWindow.h"
#include "ui/widgets/TextBoxAction.h"

namespace tamber::ui::widgets {

class TextBox : public ScrollableWindow {
public:
    enum Mode : int {
        kModeLabel = 0,
        kModeReadOnly = 1,
        kModeInteger = 2,
        kModeDecimal = 3,
        kModeLongLine = 4,
        kModeTextField = 5,
        kModeEditor = 6,
    };
    enum ContentKind : int { kKindInteger = 0, kKindDecimal = 1, kKindShortText = 2, kKindText = 3, kKindLongLine = 4 };
    enum BoxFlag : uint32_t { kEditable = 1, kSelectable = 2, kMultiLine = 4, kWordWrap = 8 };
    enum CaretMove : int {
        kLineStart,
        kLineEnd,
        kPageUp,
        kPageDown,
        kLineUp,
        kLineDown,
        kCharLeft,
        kCharRight,
        kTextStart,
        kTextEnd,
    };
    // A laid-out line: the bytes [start, end) are drawn; the next line starts at next.
    struct Line {
        int start = 0;
        int end = 0;
        int next = 0;
        int width = 0;
    };

    static constexpr double kCaretSteadySeconds = 0.5;
    static constexpr double kAutoScrollSeconds = 1.0 / 30.0;
    static constexpr int kMargin = 3;
    static constexpr int kCursorTextBeam = 5;

    TextBox(int mode, Window* parent);

    const char* GetClassName() const override { return "TextBox"; }

    void SetText(const std::string& text);
    void GetText(std::string& out) const { out = text_; }
    const std::string& Text() const { return text_; }
    void SetInt(int value);
    void SetFloat(double value);
    // Appends without validation or undo step (log views); a view showing its end follows it.
    void AppendText(const std::string& text);

    void SelectAll();
    void Copy();
    void Cut();
    void Paste();
    // Replaces the selection after validation; false (and a beep) when refused.
    bool InsertText(const std::string& text);
    void DeleteBackward();
    void DeleteForward();
    void MoveCaret(CaretMove move, bool extend);
    bool Undo();
    bool Redo();
    void SetReadOnly(bool readOnly);
    void SetWordWrap(bool wrap);
    void SetMaxLength(int length) { maxLength_ = length > 0 ? length : 1; }

    // Selection as byte offsets; the anchor stays while the caret moves.
    void SetSelection(int anchor, int caret);
    int Anchor() const { return anchor_; }
    int Caret() const { return caret_; }
    int SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
    int SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
    // The (line, offset in line) of a byte offset.
    void LinePosition(int offset, int& line, int& column) const;

    int Mode() const { return mode_; }
    int Kind() const { return kind_; }
    int MaxLength() const { return maxLength_; }
    bool IsEditable() const { return (boxFlags_ & kEditable) != 0; }
    bool IsSelectable() const { return (boxFlags_ & kSelectable) != 0; }
    bool IsMultiLine() const { return (boxFlags_ & kMultiLine) != 0; }
    bool CaretShown() const { return caretShown_; }
    const std::vector<Line>& Lines() const { return lines_; }
    UndoHistory& History() { return history_; }
    int RowHeight() const;

    Signal0 changed;
    Signal1<int> enter;

    // Used by TextBoxAction: replaces [position, position + length) and sets the selection.
    void ReplaceRange(int position, int length, const std::string& text, TextBoxAction::Selection selection);

    bool OnKey(Event& event) override;
    void OnChar(Event& event) override;
    void OnMouseButton(Event& event) override;
    void OnDoubleClick(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    void Idle() override;
    void Draw() override;
    void OnResize() override;
    void OnFocusLost(Window* newFocus, int reason) override;
    Window* OnFocusGained(Window* oldFocus, int reason) override;
    void OnVerticalScroll(int32_t newPosition, int32_t oldPosition) override;

private:
    bool Validate(const std::string& text) const;
    // Records and performs one edit; the selection afterwards is a caret after the insertion.
    void Edit(TextBoxAction::Kind kind, int position, int length, const std::string& inserted);
    void Relayout(int fromOffset);
    void UpdateScrollRange();
    void EnsureCaretVisible();
    void CaretMoved();
    void EmitChanged();
    int LineOf(int offset) const;
    int XOf(const Line& line, int offset) const;
    int OffsetAt(Point local) const;
    int VisibleRows() const;
    int TextWidth() const;
    void SetSelectionInternal(int anchor, int caret);

    int mode_;
    int kind_;
    int maxLength_;
    uint32_t boxFlags_;
    std::string text_;
    std::vector<Line> lines_;
    int anchor_ = 0;
    int caret_ = 0;
    int desiredX_ = -1;  // kept across Up and Down moves
    int scrollX_ = 0;    // one-line boxes scroll sideways without a bar
    bool caretShown_ = false;
    double lastCaretMove_ = 0;
    double lastAutoScroll_ = 0;
    bool dragging_ = false;
    Point dragPoint_;
    bool changed_ = false;
    UndoHistory history_;
};

}  // namespace tamber::ui::widgets
