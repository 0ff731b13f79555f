#pragma once
// The colour chooser: a hue/saturation field with a value strip, the colour as RGB
// and HSV numbers and as hex, and the 16 custom colours kept for the whole run.
#include <array>

#include "ui/choosers/ColorFields.h"
#include "ui/choosers/ColorModel.h"
#include "ui/widgets/DialogWindow.h"

namespace tamber::ui::widgets { class Button; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

class ColorDialogWindow : public DialogWindow {
public:
    enum NumberField { kRed, kGreen, kBlue, kHue, kSaturation, kValue, kNumberFields };

    explicit ColorDialogWindow(Rgb initial);
    const char* GetClassName() const override { return "ColorDialogWindow"; }

    // Centres, focuses and runs the dialog modally; true on OK.
    bool Run();
    Rgb Color() const { return rgb_; }
    Hsv HsvColor() const { return hsv_; }
    TextBox* Number(int field) const { return numbers_[size_t(field)]; }
    TextBox* HexField() const { return hex_; }
    ColorSwatch* CustomSwatch(int index) const { return custom_[size_t(index)]; }

private:
    // Takes a colour and shows it everywhere except in the control it came from.
    void SetHsv(const Hsv& hsv, const Window* source);
    void SetColor(const Hsv& hsv, Rgb rgb, const Window* source);
    void ShowNumbers(const Window* source);
    void OnNumberChanged();
    void OnHexChanged();
    void OnPicked(Hsv hsv);
    void OnCustomPressed(int index);
    void OnAddCustom();

    Rgb rgb_;
    Hsv hsv_;
    bool updating_ = false;
    int customSlot_ = 0;
    HueSaturationField* field_;
    ValueStrip* strip_;
    ColorSwatch* preview_;
    std::array<TextBox*, kNumberFields> numbers_{};
    TextBox* hex_;
    std::array<ColorSwatch*, 16> custom_{};
    Button* addCustom_;
};

}  // namespace tamber::ui::choosers
