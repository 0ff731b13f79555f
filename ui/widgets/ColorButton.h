#pragma once
// A colour swatch. Pressing it (or Space or Enter while focused) emits clicked and,
// when a colour chooser is installed, lets the user pick a new colour with it.
#include <cstdint>

#include "ui/Signal.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {

class ColorButton : public Window {
public:
    // Shows a modal colour chooser on the colour given; true (and the new colour) on OK.
    using ColorChooser = bool (*)(uint8_t rgb[3]);
    static void SetColorChooser(ColorChooser chooser);
    static ColorChooser GetColorChooser();

    // Style 0x8023 (focusable, resizable border, enabled, visible), 42 by 20.
    explicit ColorButton(Window* parent);

    const char* GetClassName() const override { return "ColorButton"; }

    // RGBA with red in the high byte.
    void SetColor(uint32_t rgba);
    uint32_t GetColor() const { return color_; }
    // Emits clicked, then runs the installed chooser; a cancelled chooser changes nothing.
    void Choose();

    void Draw() override;
    bool OnKey(Event& event) override;
    void OnMouseButton(Event& event) override;

    Signal0 clicked;
    Signal1<uint32_t> colorChanged;

private:
    uint32_t color_ = 0xFFFFFFFF;
};

}  // namespace tamber::ui::widgets
