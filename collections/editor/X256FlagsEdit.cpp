#include "collections/editor/X256FlagsEdit.h"

#include "collections/editor/X256Edit.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/widgets/CheckBox.h"

namespace tamber::collections::editor {
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr const char* kLabels[X256FlagsEdit::kBoxCount] = {"Textures", "Monsters", "Projectiles",
                                                          "Scenery", "Atmospheric Effects", "Interfaces"};
constexpr int kMargin = 12;
constexpr int kRow = 26;

}  // namespace

X256FlagsEdit::X256FlagsEdit(X256Edit& editor, Window* parent)
    : Window(kStyleVisible | kStyleEnabled, parent), editor_(editor) {
    MakeLabel(this, "Can be used for:", kMargin, kMargin, 240, kRow);
    for (int bit = 0; bit < kBoxCount; ++bit) {
        auto* box = new CheckBox(this, uint32_t(bit));
        box->SetName(kLabels[bit]);
        box->SizeToFit();
        box->SetFrameXYWH(kMargin * 2, kMargin + kRow * (bit + 1), box->Frame().Width(), box->Frame().Height());
        box->clickedWithId.Connect(this, &X256FlagsEdit::OnBoxClicked);
        boxes_[size_t(bit)] = box;
    }
    editor_.flagsChanged.Connect(this, &X256FlagsEdit::Refresh);
    Refresh();
}

void X256FlagsEdit::Refresh() {
    for (int bit = 0; bit < kBoxCount; ++bit) boxes_[size_t(bit)]->SetChecked(editor_.GetCollection().flags & (1u << bit));
}

void X256FlagsEdit::OnBoxClicked(int bit) {
    const bool on = boxes_[size_t(bit)]->GetButtonState() == Button::kOn;
    editor_.Change(kChangeFlags, [&](Collection& collection) {
        collection.flags = on ? collection.flags | (1u << bit) : collection.flags & ~(1u << bit);
        return true;
    });
}

}  // namespace tamber::collections::editor
