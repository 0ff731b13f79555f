#pragma once
// The "Flags" page: what the collection can be used for, one check box per bit
// (bits 0 to 5); every other bit of the flags is kept.
#include <array>

#include "ui/Window.h"

namespace tamber::ui::widgets { class CheckBox; }

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256FlagsEdit : public Window {
public:
    static constexpr int kBoxCount = 6;

    X256FlagsEdit(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256FlagsEdit"; }
    widgets::CheckBox* Box(int bit) const { return boxes_[size_t(bit)]; }

private:
    void Refresh();
    void OnBoxClicked(int bit);

    X256Edit& editor_;
    std::array<widgets::CheckBox*, kBoxCount> boxes_{};
};

}  // namespace tamber::collections::editor
