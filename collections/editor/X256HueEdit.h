#pragma once
// The editor of one hue change, in a window of its own: name, affected hue range
// (on a colour bar and as degrees), median hue, minimum saturation, use, the
// reversed flag and the solid replacement colour. Each edit changes the collection
// at once; typing into one field or dragging one marker is one undoable action.
#include <array>
#include <string>

#include "collections/HueChange.h"
#include "collections/editor/EditorLink.h"
#include "ui/Window.h"

namespace tamber::ui::widgets {
class CheckBox;
class ColorBar;
class ColorButton;
class ComboBox;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::collections::editor {
using namespace tamber::ui;

class X256Edit;

class X256HueEdit : public Window {
public:
    enum Field { kName, kStartHue, kEndHue, kMedianHue, kSaturation, kFieldCount };
    // Byte 120 of the record: the solid colour, and the second option set with it.
    static constexpr uint8_t kSolid = 1;
    static constexpr uint8_t kSolidTint = 2;

    X256HueEdit(X256Edit& editor, int index);

    const char* GetClassName() const override { return "X256HueEdit"; }
    void OnClose() override;
    bool OnKey(Event& event) override;

    int Index() const { return index_; }
    widgets::TextBox* FieldBox(Field field) const { return fields_[field]; }
    widgets::ColorBar* Bar() const { return bar_; }
    widgets::ComboBox* UseBox() const { return use_; }
    widgets::CheckBox* ReversedBox() const { return reversed_; }
    widgets::CheckBox* SolidBox() const { return solid_; }
    widgets::CheckBox* TintBox() const { return tint_; }
    widgets::ColorButton* ColorBox() const { return color_; }

private:
    const HueChange* Hue() const;
    // Applies an edit of the hue change; `key` merges consecutive edits of one control.
    void Edit(const void* key, const std::function<void(HueChange&)>& edit);
    void Refresh();
    void OnFieldChanged();
    void OnBarChanged();
    void OnUseChosen(int item);
    void OnFlagClicked();
    void OnColorChanged(uint32_t rgba);
    void OnHueChangesChanged();

    EditorLink editor_;
    int index_;
    bool refreshing_ = false;
    std::array<widgets::TextBox*, kFieldCount> fields_{};
    widgets::ColorBar* bar_;
    widgets::ComboBox* use_;
    widgets::CheckBox* reversed_;
    widgets::CheckBox* solid_;
    widgets::CheckBox* tint_;
    widgets::ColorButton* color_;
};

}  // namespace tamber::collections::editor
