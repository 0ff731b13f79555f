#pragma once
// "Edit Control Data": a control's ID, its type as a four-character tag and as
// one of the named types, and its text.
#include <optional>
#include <string>
#include <vector>

#include "dialogs/DialogPayload.h"
#include "ui/widgets/DialogWindow.h"

namespace tamber::ui::widgets {
class ComboBox;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::dialogs::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class ControlDataDialog : public DialogWindow {
public:
    static constexpr int kWidth = 360;
    static constexpr int kMaxText = 255;
    static constexpr int kRowGap = 6;

    explicit ControlDataDialog(const DialogControl& control);

    const char* GetClassName() const override { return "ControlDataDialog"; }

    // Centres the dialog, runs it modally and closes it; the control with the
    // entered values on OK, none on Cancel.
    std::optional<DialogControl> Run();
    // The control the fields describe; none (a refused OK) when the ID is not a
    // number from 0 to 65535 or the tag is empty.
    std::optional<DialogControl> Entered() const;

    bool OnOK() override;
    void OnResize() override;

    TextBox* IdField() const { return id_; }
    TextBox* TagField() const { return tag_; }
    ComboBox* TypeBox() const { return type_; }
    TextBox* TextField() const { return text_; }

private:
    TextBox* AddLabel(const char* label);
    void OnTypeChosen(int index);
    void OnTagEdited();

    DialogControl control_;
    std::string shownTag_;  // the tag as first shown: left alone, the code stays as it was
    std::vector<TextBox*> labels_;
    TextBox* id_;
    TextBox* tag_;
    ComboBox* type_;
    TextBox* text_;
};

}  // namespace tamber::dialogs::editor
