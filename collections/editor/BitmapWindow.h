#pragma once
// One bitmap in a window of its own at any zoom (the wheel, or + and -), on a
// chequered background. While it is shown the bitmap counts as open, and the
// commands that would take it away refuse.
#include <memory>

#include "collections/Collection.h"
#include "collections/editor/BitmapPictures.h"
#include "collections/editor/EditorLink.h"
#include "ui/Window.h"

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class BitmapWindow : public Window {
public:
    static constexpr double kMinZoom = 0.125;
    static constexpr double kMaxZoom = 32;

    BitmapWindow(X256Edit& editor, std::shared_ptr<Bitmap> bitmap);

    const char* GetClassName() const override { return "BitmapWindow"; }
    void Draw() override;
    bool OnKey(Event& event) override;
    void OnWheel(Event& event) override;
    void OnClose() override;

    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);
    const Bitmap* Shown() const { return bitmap_.get(); }

private:
    void OnBitmapsChanged();

    EditorLink editor_;
    std::shared_ptr<Bitmap> bitmap_;
    BitmapPictures pictures_;
    double zoom_ = 1;
};

}  // namespace tamber::collections::editor
