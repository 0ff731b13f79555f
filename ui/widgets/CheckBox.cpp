#include "ui/widgets/CheckBox.h"

#include <algorithm>

#include "ui/DrawBatch.h"
#include "ui/Font.h"
#include "ui/Skin.h"
#include "ui/WindowSystem.h"

namespace tamber::ui::widgets {

void CheckBox::SizeToFit() {
    Skin* skin = WS().GetSkin();
    int boxWidth = skin ? skin->CheckBoxWidth() : 0;
    int boxHeight = skin ? skin->CheckBoxHeight() : 0;
    SetSize(boxWidth + kLabelGap + LabelWidth(), std::max(boxHeight, GetFontHeight(GetFont())));
}

void CheckBox::Draw() {
    Skin* skin = WS().GetSkin();
    int height = Client().Height();
    int boxWidth = skin ? skin->CheckBoxWidth() : 0;
    int boxHeight = skin ? skin->CheckBoxHeight() : 0;
    if (skin) {
        int top = (height - boxHeight) / 2;
        skin->DrawCheckBox({0, top, boxWidth, top + boxHeight}, GetButtonState());
    }
    const char* label = GetName();
    if (!label) return;
    Rect text{boxWidth + kLabelGap, 0, Client().Width(), height};
    if (IsEnabled()) Skin::SetTextColor(false);
    else SetDrawColor(128, 128, 128, 255);
    DrawText(label, 0, kTextCenterVertically | kTextShadow, text);
    if (IsFocused()) {
        int fontHeight = GetFontHeight(GetFont());
        int bottom = std::min(height, (height + fontHeight) / 2 + 2);
        Skin::SetSelectionColor(true);
        Skin::FillRect({text.left, bottom - 2, text.left + LabelWidth(), bottom});
    }
}

}  // namespace tamber::ui::widgets
