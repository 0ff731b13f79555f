#pragma once
// The panel that edits one record of a structure definition, built from the
// definition's `structedit` layout: tables of labels and controls bound to members,
// pop-up panels, nested editors for sub-records, and OK and Cancel. A top-level
// editor owns its record; a nested one edits a sub-record inside its enclosing
// editor's record and restores it from a backup on Cancel.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/StructMemberChangeListener.h"
#include "editing/definitions/StructValues.h"
#include "ui/Signal.h"
#include "ui/Window.h"

class TiXmlElement;

namespace tamber::ui::widgets { class Button; }

namespace tamber::editing {
using namespace tamber::definitions;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class StructEditPopup;
class Table;

class StructEditor : public Window {
public:
    static constexpr int kButtonWidth = 96;
    static constexpr int kButtonBand = 32;

    // Top level: a zero-filled record of its own, as a child of parent.
    StructEditor(const StructDefinition* definition, Window* parent);
    // Nested: edits the sub-record at address (backed up first) in a floating window.
    StructEditor(const StructDefinition* definition, StructEditor* outer, uint8_t* address);
    ~StructEditor() override;
    const char* GetClassName() const override { return "StructEditor"; }

    // Builds the panel from the layout named after the definition; false when the
    // definition has none.
    bool BuildPanel();
    // Re-reads every control from the record.
    void RefreshControls();
    // A collection `tag` member changed: the sequence pickers following it show no
    // sequence and list the new collection's sequences.
    void CollectionChanged(const StructMember* tagMember);

    // Runs a nested editor modally on the sub-record, titled `title`; 1 for OK, 0
    // for Cancel (the sub-record restored) or when the definition has no layout.
    static int RunNested(const StructDefinition* definition, StructEditor* outer, uint8_t* address,
                         const std::string& title);

    const StructDefinition* Definition() const { return view_.definition; }
    const StructView& View() const { return view_; }
    uint8_t* Record() const { return view_.data; }
    StructEditor* Outer() const { return outer_; }
    const std::string& Caption() const { return caption_; }
    Button* OKButton() const { return ok_; }
    Button* CancelButton() const { return cancel_; }
    const std::vector<std::unique_ptr<MemberChangeListener>>& Bindings() const { return bindings_; }

    // Every change, before it is written.
    Signal0 changed;
    // OK and Cancel of a top-level editor, for its owner.
    Signal0 accepted;
    Signal0 rejected;

    bool CanClose(int force) override;
    // A pop-up panel destroyed before its editor.
    void ForgetPopup(Window* popup);

private:
    void Build(const TiXmlElement& layout);
    Table* BuildTable(const TiXmlElement& element, Window* parent);
    Window* BuildChild(const TiXmlElement& element, Window* parent);
    Window* BuildItem(const TiXmlElement& element, Window* parent);
    Window* BuildPopup(const TiXmlElement& element, Window* parent);
    void AlignChildTables(Table* table);
    void ChainTab(Window* control);
    void OnOK();
    void OnCancel();
    void OnNestedChanged() { changed.Emit(); }

    std::vector<uint8_t> owned_;
    std::vector<uint8_t> backup_;
    StructView view_;
    StructEditor* outer_ = nullptr;
    std::string caption_;
    std::vector<std::unique_ptr<MemberChangeListener>> bindings_;
    std::vector<StructEditPopup*> popups_;
    Window* lastTab_ = nullptr;
    Window* tabOwner_ = this;  // the window whose focus child starts the chain
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    bool finished_ = false;
};

// Sizes a window so that its client area is width by height.
void SizeClientTo(Window* window, int width, int height);

}  // namespace tamber::editing
