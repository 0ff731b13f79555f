#include "collections/editor/X256HueEdit.h"

#include <cstdlib>

#include "collections/HueChangeValues.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256Text.h"
#include "ui/WindowPlacement.h"
#include "ui/choosers/ChooserControls.h"
#include "ui/widgets/CheckBox.h"
#include "ui/widgets/ColorBar.h"
#include "ui/widgets/ColorButton.h"
#include "ui/widgets/ComboBox.h"
#include "ui/widgets/TextBox.h"

namespace tamber::collections::editor {
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

namespace {

constexpr uint32_t kStyle = kStyleDocument & ~(kStyleVisible | kStyleMaximisable | kStyleMaximiseBox);
constexpr int kMargin = 10;
constexpr int kRow = 28;
constexpr int kLabelWidth = 140;
constexpr int kFieldWidth = 80;
constexpr int kWidth = 560;
constexpr int kHeight = 250;

int LeadingNumber(const std::string& text) { return int(std::strtol(text.c_str(), nullptr, 10)); }

std::string Degrees(uint16_t hue) { return Printf("%d%c", HueDegrees(hue), 161); }

CheckBox* MakeCheckBox(Window* parent, const char* label, int x, int y) {
    auto* box = new CheckBox(parent, 0);
    box->SetName(label);
    box->SizeToFit();
    box->SetFrameXYWH(x, y, box->Frame().Width(), box->Frame().Height());
    return box;
}

}  // namespace

X256HueEdit::X256HueEdit(X256Edit& editor, int index) : Window(kStyle, nullptr), editor_(editor, this), index_(index) {
    editor.AddHueChangeWindow(this, index);
    int y = kMargin;
    auto field = [&](Field which, const char* label, int x, int width) {
        MakeLabel(this, label, x, y, kLabelWidth, kRow);
        auto* box = new TextBox(TextBox::kModeTextField, this);
        box->SetFrameXYWH(x + kLabelWidth, y + 3, width, kRow - 6);
        box->changed.Connect(this, &X256HueEdit::OnFieldChanged);
        fields_[which] = box;
    };
    field(kName, "Name:", kMargin, kWidth - 4 * kMargin - kLabelWidth);
    y += kRow;
    MakeLabel(this, "Affected Hue Range:", kMargin, y, kLabelWidth, kRow);
    bar_ = new ColorBar(this);
    bar_->SetFrameXYWH(kMargin + kLabelWidth, y + 2, ColorBar::kWidth + 2, ColorBar::kHeight + 2);
    bar_->huesChanged.Connect(this, &X256HueEdit::OnBarChanged);
    y += kRow;
    const int second = kWidth / 2;
    field(kSaturation, "Min % Saturation:", kMargin, kFieldWidth);
    field(kStartHue, "Start Hue:", second, kFieldWidth);
    y += kRow;
    MakeLabel(this, "Use As:", kMargin, y, kLabelWidth, kRow);
    use_ = new ComboBox(this, 0);
    for (const char* item : {"None", "Primary Color", "Secondary Color"}) use_->AddItem(item);
    use_->SetFrameXYWH(kMargin + kLabelWidth, y + 3, 120, kRow - 6);
    use_->itemChosen.Connect(this, &X256HueEdit::OnUseChosen);
    field(kMedianHue, "Median Hue:", second, kFieldWidth);
    y += kRow;
    reversed_ = MakeCheckBox(this, "Reversed Hue Change", kMargin, y + 4);
    reversed_->clicked.Connect(this, &X256HueEdit::OnFlagClicked);
    field(kEndHue, "End Hue:", second, kFieldWidth);
    y += kRow;
    MakeLabel(this, "Replacement Color:", kMargin, y, kLabelWidth, kRow);
    color_ = new ColorButton(this);
    color_->SetFrameXYWH(kMargin + kLabelWidth, y + 4, 42, 20);
    color_->colorChanged.Connect(this, &X256HueEdit::OnColorChanged);
    y += kRow;
    solid_ = MakeCheckBox(this, "Replace with Solid Color", kMargin, y + 4);
    solid_->clicked.Connect(this, &X256HueEdit::OnFlagClicked);
    tint_ = MakeCheckBox(this, "Keep Shading of Solid Color", second, y + 4);
    tint_->clicked.Connect(this, &X256HueEdit::OnFlagClicked);
    editor.hueChangesChanged.Connect(this, &X256HueEdit::OnHueChangesChanged);
    SetFrameXYWH(0, 0, kWidth, kHeight);
    Refresh();
    PresentAtCascadePosition(this, fields_[kName]);
}

void X256HueEdit::OnClose() { editor_.Release(); }

bool X256HueEdit::OnKey(Event& event) { return editor_.HandleUndoKeys(event) || Window::OnKey(event); }

const HueChange* X256HueEdit::Hue() const {
    if (!editor_ || index_ >= editor_->GetCollection().HueChangeCount()) return nullptr;
    return &editor_->GetCollection().hueChanges[size_t(index_)];
}

void X256HueEdit::Edit(const void* key, const std::function<void(HueChange&)>& edit) {
    if (refreshing_ || !Hue()) return;
    const int index = index_;
    editor_->Change(
        kChangeHueChanges,
        [&](Collection& collection) {
            HueChange& hue = collection.hueChanges[size_t(index)];
            const HueChange before = hue;
            edit(hue);
            return !(before == hue);
        },
        reinterpret_cast<uintptr_t>(key));
}

void X256HueEdit::OnHueChangesChanged() {
    // A hue change deleted by an undo takes its window with it.
    if (!Hue()) {
        Close();
        return;
    }
    Refresh();
}

void X256HueEdit::Refresh() {
    const HueChange* hue = Hue();
    if (!hue) return;
    refreshing_ = true;
    SetName(Printf("Hue Change: %s", hue->name.c_str()).c_str());
    auto show = [&](Field field, const std::string& text, bool same) {
        if (!same) fields_[field]->SetText(text);
    };
    show(kName, hue->name, fields_[kName]->Text() == hue->name);
    show(kStartHue, Degrees(hue->startHue), LeadingNumber(fields_[kStartHue]->Text()) == HueDegrees(hue->startHue) &&
                                                !fields_[kStartHue]->Text().empty());
    show(kEndHue, Degrees(hue->endHue), LeadingNumber(fields_[kEndHue]->Text()) == HueDegrees(hue->endHue) &&
                                            !fields_[kEndHue]->Text().empty());
    show(kMedianHue, Degrees(hue->medianHue), LeadingNumber(fields_[kMedianHue]->Text()) == HueDegrees(hue->medianHue) &&
                                                  !fields_[kMedianHue]->Text().empty());
    const int percent = SaturationPercent(hue->minSaturation);
    show(kSaturation, std::to_string(percent),
         !fields_[kSaturation]->Text().empty() &&
             SaturationFromPercent(LeadingNumber(fields_[kSaturation]->Text())) == hue->minSaturation);
    bar_->SetHues(hue->startHue, hue->medianHue, hue->endHue);
    use_->SelectItem(hue->use < 3 ? hue->use : -1);
    reversed_->SetChecked(hue->reversed & 1);
    solid_->SetChecked(hue->solid[0] & kSolid);
    tint_->SetChecked(hue->solid[0] & kSolidTint);
    color_->SetColor(uint32_t(hue->red >> 8) << 24 | uint32_t(hue->green >> 8) << 16 | uint32_t(hue->blue >> 8) << 8 | 255);
    refreshing_ = false;
}

void X256HueEdit::OnFieldChanged() {
    const HueChange* shown = Hue();
    if (refreshing_ || !shown) return;
    // Only the field whose value differs from the hue change's was typed into.
    const HueChange hue = *shown;
    auto text = [&](Field field) { return fields_[field]->Text(); };
    auto degrees = [&](Field field, uint16_t value, uint16_t HueChange::*member) {
        const int typed = LeadingNumber(text(field));
        if (typed != HueDegrees(value))
            Edit(fields_[field], [&](HueChange& edited) { edited.*member = HueFromDegrees(typed); });
    };
    if (text(kName).substr(0, 63) != hue.name)
        Edit(fields_[kName], [&](HueChange& edited) { edited.name = text(kName).substr(0, 63); });
    degrees(kStartHue, hue.startHue, &HueChange::startHue);
    degrees(kEndHue, hue.endHue, &HueChange::endHue);
    degrees(kMedianHue, hue.medianHue, &HueChange::medianHue);
    const int percent = LeadingNumber(text(kSaturation));
    if (percent != SaturationPercent(hue.minSaturation))
        Edit(fields_[kSaturation], [&](HueChange& edited) { edited.minSaturation = SaturationFromPercent(percent); });
}

void X256HueEdit::OnBarChanged() {
    Edit(bar_, [&](HueChange& hue) {
        hue.startHue = bar_->Hue(ColorBar::kStart);
        hue.medianHue = bar_->Hue(ColorBar::kMedian);
        hue.endHue = bar_->Hue(ColorBar::kEnd);
    });
}

void X256HueEdit::OnUseChosen(int item) {
    Edit(nullptr, [&](HueChange& hue) { hue.use = uint16_t(std::max(item, 0)); });
}

void X256HueEdit::OnFlagClicked() {
    const bool reversed = reversed_->GetButtonState() == Button::kOn;
    const bool solid = solid_->GetButtonState() == Button::kOn;
    const bool tint = tint_->GetButtonState() == Button::kOn;
    Edit(nullptr, [&](HueChange& hue) {
        hue.reversed = uint16_t((hue.reversed & ~1) | (reversed ? 1 : 0));
        // The second option is set together with the solid colour.
        uint8_t bits = uint8_t(hue.solid[0] & ~(kSolid | kSolidTint));
        if (solid || tint) bits |= kSolid;
        if (tint) bits |= kSolidTint;
        hue.solid[0] = bits;
    });
}

void X256HueEdit::OnColorChanged(uint32_t rgba) {
    Edit(nullptr, [&](HueChange& hue) {
        hue.red = uint16_t(((rgba >> 24) & 255) << 8);
        hue.green = uint16_t(((rgba >> 16) & 255) << 8);
        hue.blue = uint16_t(((rgba >> 8) & 255) << 8);
    });
}

}  // namespace tamber::collections::editor
