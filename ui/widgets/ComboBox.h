#pragma once
// A text part with a drop-down button that opens a list of entries below it. In
// editable mode the text part is a one-line text field the user may type into.
// While open, the list lives in the upper layer, so that it is drawn above every
// other window and takes the clicks on it; closed, it is the combo box's child again.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"
#include "ui/widgets/PopupRun.h"

namespace tamber::ui::widgets {

class TextBox;

class ComboBox : public Window {
public:
    enum ModeBit : int { kEditable = 1 };

    // The button at the right end that opens and closes the list.
    class DropdownButton : public Window {
    public:
        static constexpr int kMinimumSize = 14;
        explicit DropdownButton(ComboBox* combo);
        const char* GetClassName() const override { return "ComboBox::DropdownButton"; }
        void GetMinimumSize(Point& out) override;
        void Draw() override;
        void OnMouseButton(Event& event) override;

    private:
        ComboBox* combo_;
    };

    // The list of entries; a press outside it while open closes it.
    class DropList : public ListWindow {
    public:
        explicit DropList(ComboBox* combo);
        const char* GetClassName() const override { return "ComboBox::DropList"; }
        bool OnKey(Event& event) override;
        void OnMouseButton(Event& event) override;

    private:
        ComboBox* combo_;
    };

    static constexpr int kListExtraWidth = 18;

    // Style 0x8103: focusable, enabled, visible, panel B.
    ComboBox(Window* parent, int mode);

    const char* GetClassName() const override { return "ComboBox"; }

    void AddItem(const std::string& text);
    void RemoveAllItems();
    // Shows the entry in the text part (-1: none, empty text); quiet.
    void SelectItem(int index);
    int GetSelectedItem() const { return chosen_; }
    int ItemCount() const { return int(items_.size()); }
    const std::string& ItemText(int index) const { return items_[size_t(index)]; }
    std::string GetText() const;
    // Rows the list shows when opened (at least 1, at most the entries plus one).
    void SetListRows(int rows) { listRows_ = rows; }

    void OpenList();
    // Closes the open list; a chosen index (or -1 for no change) is applied afterwards.
    void CloseList(int chosen);
    bool IsListOpen() const { return listOpen_; }

    TextBox* TextPart() const { return text_; }
    DropdownButton* Button() const { return button_; }
    ListWindow* List() const { return list_; }

    void OnResize() override;
    Window* OnFocusGained(Window* oldFocus, int reason) override;
    bool OnKey(Event& event) override;

    // An entry was chosen from the list (its index).
    Signal1<int> itemChosen;
    // The user typed into an editable text part.
    Signal0 textEdited;

private:
    void OnListActivated(ListWindow::ListItem* item);
    void OnTextChanged();
    void FillList();
    // Where the open list goes, in surface pixels: below the text part, or above it
    // when there is no room below, and inside the surface.
    Rect ListPlacement(int width, int height) const;
    void EndWithPress(const Event& press);

    int mode_;
    bool listOpen_ = false;
    bool filling_ = false;
    int chosen_ = -1;
    int closeChoice_ = -1;
    int listRows_ = 8;
    std::vector<std::string> items_;
    TextBox* text_;
    DropdownButton* button_;
    DropList* list_;
    PopupRun run_;
};

}  // namespace tamber::ui::widgets
