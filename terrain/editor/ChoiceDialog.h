#pragma once
// "Edit Detail Texture Attributes": a detail material's texture, chosen from the
// `dtex` tags, its highlight colour and its description.
#include <optional>
#include <vector>

#include "terrain/editor/MaterialAttributes.h"
#include "ui/widgets/DialogWindow.h"
#include "ui/widgets/ListWindow.h"

namespace tamber::ui::widgets {
class ColorButton;
class TextBox;
}  // namespace tamber::ui::widgets

namespace tamber::terrain::editor {
using namespace tamber::terrain::painting;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class ChoiceDialog : public DialogWindow {
public:
    static constexpr int kWidth = 384;
    static constexpr int kHeight = 248;
    static constexpr int kDescriptionWidth = 250;
    static constexpr int kRowGap = 6;

    explicit ChoiceDialog(const MaterialAttributes& attributes);

    const char* GetClassName() const override { return "ChoiceDialog"; }

    // Centres the dialog, runs it modally and closes it; the attributes entered on
    // OK, none on Cancel.
    std::optional<MaterialAttributes> Run();
    // None (a refused OK) while no texture row is selected.
    std::optional<MaterialAttributes> Entered() const;

    bool OnOK() override;
    void OnResize() override;

    ListWindow* TextureList() const { return list_; }
    ColorButton* ColourButton() const { return colour_; }
    TextBox* DescriptionField() const { return description_; }

private:
    TextBox* AddLabel(const char* text);
    // A double-click on a texture chooses it and closes the dialog, as OK.
    void OnTextureActivated(ListWindow::ListItem* item);

    MaterialAttributes attributes_;
    std::vector<uint32_t> tagids_;  // the tagid of each row; row ids count from 1
    ListWindow* list_;
    TextBox* colourLabel_;
    ColorButton* colour_;
    TextBox* descriptionLabel_;
    TextBox* description_;
};

}  // namespace tamber::terrain::editor
