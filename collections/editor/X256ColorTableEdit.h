#pragma once
// The "Color Table" page: the 256 palette colours as swatches (a click opens the
// colour chooser on one), and saving and loading the palette as an .act file.
#include "ui/Window.h"

namespace tamber::ui::widgets { class Button; }

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256ColorTableEdit : public Window {
public:
    static constexpr int kSwatch = 18;
    static constexpr int kColumns = 16;
    static constexpr int kTop = 40;
    static constexpr int kLeft = 12;

    X256ColorTableEdit(X256Edit& editor, Window* parent);

    const char* GetClassName() const override { return "X256ColorTableEdit"; }
    void Draw() override;
    void OnMouseButton(Event& event) override;

    // The palette entry under a client point, or -1.
    int EntryAt(Point local) const;
    // Replaces one entry (an undoable change).
    void SetEntry(int index, const uint8_t rgb[3]);
    void SaveTable();
    void LoadTable();

private:
    X256Edit& editor_;
    widgets::Button* save_;
    widgets::Button* load_;
};

}  // namespace tamber::collections::editor
