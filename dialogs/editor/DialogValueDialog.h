#pragma once
// The small dialog for one of the dialog's own values: a label, one field holding
// one number ("%d") or two ("%d,%d"), and OK / Cancel.
#include <optional>
#include <utility>

#include "ui/widgets/DialogWindow.h"

namespace tamber::ui::widgets {
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::dialogs::editor {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class DialogValueDialog : public DialogWindow {
public:
    static constexpr int kFieldWidth = 120;
    static constexpr int kGap = 6;

    // `second` present asks for a pair of numbers.
    DialogValueDialog(const char* label, int first, std::optional<int> second);

    const char* GetClassName() const override { return "DialogValueDialog"; }

    // Centres the dialog, runs it modally and closes it: the numbers on OK, none on Cancel.
    std::optional<std::pair<int, int>> Run();
    // The numbers in the field; none (a refused OK) when it holds anything else.
    std::optional<std::pair<int, int>> Entered() const;

    bool OnOK() override;
    void OnResize() override;

    TextBox* Field() const { return field_; }

private:
    bool pair_;
    TextBox* label_;
    TextBox* field_;
};

}  // namespace tamber::dialogs::editor
