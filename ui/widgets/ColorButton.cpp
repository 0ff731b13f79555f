#include "ui/widgets/ColorButton.h"

#include "ui/DrawBatch.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"
#include "ui/RectOps.h"

namespace tamber::ui::widgets {

namespace {

ColorButton::ColorChooser installedChooser = nullptr;

}  // namespace

void ColorButton::SetColorChooser(ColorChooser chooser) { installedChooser = chooser; }

ColorButton::ColorChooser ColorButton::GetColorChooser() { return installedChooser; }

ColorButton::ColorButton(Window* parent)
    : Window(kStyleFocusable | kStyleResizable | kStyleEnabled | kStyleVisible, parent) {
    SetSize(42, 20);
}

void ColorButton::SetColor(uint32_t rgba) {
    if (rgba == color_) return;
    color_ = rgba;
    InvalidateClient();
}

void ColorButton::Choose() {
    clicked.Emit();
    if (!installedChooser) return;
    uint8_t rgb[3] = {uint8_t(color_ >> 24), uint8_t(color_ >> 16), uint8_t(color_ >> 8)};
    if (!installedChooser(rgb)) return;
    uint32_t chosen = uint32_t(rgb[0]) << 24 | uint32_t(rgb[1]) << 16 | uint32_t(rgb[2]) << 8 | (color_ & 0xFF);
    color_ = chosen;
    InvalidateClient();
    colorChanged.Emit(chosen);
}

void ColorButton::Draw() {
    Rect local{0, 0, Client().Width(), Client().Height()};
    SetDrawColor(uint8_t(color_ >> 24), uint8_t(color_ >> 16), uint8_t(color_ >> 8), 255);
    Skin::FillRect(local);
    if (IsFocused()) {
        Skin::SetSelectionColor(true);
        Skin::DrawRectOutline(RectInset(local, 1, 1), 2, false);
    }
}

bool ColorButton::OnKey(Event& event) {
    if (!IsEnabled() || !event.Pressed() || event.IsRepeat()) return false;
    if (event.Key() != ' ' && event.Key() != kKeyEnter) return false;
    Choose();
    return true;
}

void ColorButton::OnMouseButton(Event& event) {
    if (IsEnabled() && event.Button() == 0 && event.ButtonPressed()) Choose();
}

}  // namespace tamber::ui::widgets
