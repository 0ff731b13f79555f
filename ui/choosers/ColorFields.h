#pragma once
// The picking surfaces of the colour chooser: the hue/saturation field, the value
// strip beside it, and plain swatches (the preview and the custom colours).
#include "ui/Signal.h"
#include "ui/Window.h"
#include "ui/choosers/ColorModel.h"

namespace tamber::ui::choosers {

// A surface that picks part of a colour where it is pressed or dragged.
class ColorPicker : public Window {
public:
    ColorPicker(Window* parent, const char* name);
    void SetColor(const Hsv& hsv);
    const Hsv& Color() const { return hsv_; }
    void OnMouseButton(Event& event) override;
    void OnMouseTrack(Point start, Point current, int phase) override;
    // The colour with the picked part changed.
    Signal1<Hsv> picked;

protected:
    // The colour picked at a client-local point.
    virtual Hsv PickAt(Point local) const = 0;

private:
    void Pick(Point surface);
    Hsv hsv_;
};

// Hue runs left to right, saturation from full at the top to none at the bottom.
class HueSaturationField : public ColorPicker {
public:
    explicit HueSaturationField(Window* parent) : ColorPicker(parent, "Hue and Saturation") {}
    const char* GetClassName() const override { return "HueSaturationField"; }
    void Draw() override;

protected:
    Hsv PickAt(Point local) const override;
};

// The value of the current hue and saturation, full at the top to black at the bottom.
class ValueStrip : public ColorPicker {
public:
    explicit ValueStrip(Window* parent) : ColorPicker(parent, "Value") {}
    const char* GetClassName() const override { return "ValueStrip"; }
    void Draw() override;

protected:
    Hsv PickAt(Point local) const override;
};

// A flat colour; a press emits pressed with the swatch's index.
class ColorSwatch : public Window {
public:
    ColorSwatch(Window* parent, int index);
    const char* GetClassName() const override { return "ColorSwatch"; }
    void SetColor(Rgb rgb);
    Rgb Color() const { return rgb_; }
    void SetMarked(bool marked);
    void Draw() override;
    void OnMouseButton(Event& event) override;
    Signal1<int> pressed;

private:
    int index_;
    Rgb rgb_;
    bool marked_ = false;
};

}  // namespace tamber::ui::choosers
