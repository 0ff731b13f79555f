#include "ui/choosers/ChooserControls.h"

#include <algorithm>

#include "ui/Font.h"
#include "ui/TextLayout.h"
#include "ui/widgets/Button.h"
#include "ui/widgets/TextBox.h"

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

int TextWidth(const Window* parent, const std::string& text) {
    const Font* font = parent->GetFont();
    if (!font) return int(text.size()) * 7;
    return ui::DrawText(font, text.c_str(), 0, kTextMeasureOnly, {0, 0, 1 << 20, 1 << 10});
}

TextBox* MakeLabel(Window* parent, const std::string& text, int x, int y, int width, int height) {
    auto* label = new TextBox(TextBox::kModeLabel, parent);
    label->SetText(text);
    // Room below the baseline, so that descenders are not cut off.
    int labelHeight = std::max(label->Frame().Height(), label->RowHeight() + 6);
    label->SetFrameXYWH(x, y + std::max(0, (height - labelHeight) / 2), width, labelHeight);
    return label;
}

Button* MakeButton(Window* parent, const char* label, int x, int y, int minimumWidth) {
    auto* button = new Button(parent, 0);
    button->SetName(label);
    button->SizeToFit();
    button->SetFrameXYWH(x, y, std::max(button->Frame().Width(), minimumWidth), button->Frame().Height());
    return button;
}

}  // namespace tamber::ui::choosers
