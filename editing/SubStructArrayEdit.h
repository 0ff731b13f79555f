#pragma once
// The editor of an array of sub-records: a list of the used elements above "Add",
// "Delete" and "Duplicate". The used count is the array's runtime-count member when
// it names one, else its capacity; elements open in nested editors.
#include <string>

#include "editing/definitions/StructValues.h"
#include "ui/Window.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::ui::widgets { class Button; }

namespace tamber::editing {
using namespace tamber::definitions;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class StructEditor;

class SubStructArrayEdit : public Window {
public:
    static constexpr int kListHeight = 144;
    static constexpr int kButtonTop = 152;
    static constexpr int kButtonGap = 8;

    // `view` holds `member`; textTarget names the element member listed per line.
    SubStructArrayEdit(StructEditor* editor, const StructView* view, const StructMember* member,
                       const std::string& textTarget, Window* parent);
    ~SubStructArrayEdit() override;
    const char* GetClassName() const override { return "SubStructArrayEdit"; }

    int Capacity() const { return member_->count; }
    int UsedCount() const;
    // Rebuilds the list from the record and updates the buttons.
    void Refresh();

    // The commands; each returns whether the array changed.
    bool Add();
    bool Duplicate(int element);
    bool Delete(int element);
    // Opens the element in a nested editor; 1 for OK.
    int EditElement(int element, const std::string& title);

    ListWindow* List() const { return list_; }
    Button* AddButton() const { return add_; }
    Button* DeleteButton() const { return delete_; }
    Button* DuplicateButton() const { return duplicate_; }

private:
    const StructMember* RuntimeCountMember(const StructView** owner) const;
    void SetUsedCount(int count);
    uint8_t* Element(int index) const;
    // The line text of an element; false when the element gets no line.
    bool LineText(int index, std::string& text);
    int SelectedElement() const;
    void UpdateButtons();
    bool AddCopyOf(int source);
    void OnAdd();
    void OnDelete();
    void OnDuplicate();
    void OnActivated(ListWindow::ListItem* item);

    StructEditor* editor_;
    const StructView* view_;
    const StructMember* member_;
    std::string textTarget_;
    ListWindow* list_;
    Button* add_;
    Button* delete_;
    Button* duplicate_;
};

}  // namespace tamber::editing
