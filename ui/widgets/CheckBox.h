#pragma once
// A toggling button drawn as a box with its label to the right.
#include "ui/widgets/Button.h"

namespace tamber::ui::widgets {

class CheckBox : public Button {
public:
    CheckBox(Window* parent, uint32_t commandId) : Button(parent, commandId, 1) {}

    const char* GetClassName() const override { return "CheckBox"; }
    bool IsChecked() const { return GetButtonState() == kOn || GetButtonState() == kPressedOn; }
    void SetChecked(bool checked) { SetButtonState(checked ? kOn : kUp, true); }

    void SizeToFit() override;
    void Draw() override;

    static constexpr int kLabelGap = 8;
};

}  // namespace tamber::ui::widgets
