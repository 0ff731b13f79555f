#pragma once
// The editor of the text tags `ditl`, `scri`, `stli`, `temp` and `text`: one
// multi-line text box over the payload's text (see tags/TextTagPayload.h for how
// the payload becomes text and back).
#include "editing/TagEdit.h"

namespace tamber::ui::widgets { class TextBox; }

namespace tamber::editing {
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class TextEdit : public TagEdit {
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;

    explicit TextEdit(TagRecord* record);

    const char* GetClassName() const override { return "TextEdit"; }
    void OnResize() override;
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;

    TextBox* Editor() const { return editor_; }

    // The factory registered for the five text groups.
    static TagEdit* Create(TagRecord* record);

private:
    void OnTextChanged();

    TextBox* editor_;
    std::string tail_;  // the payload from the text's first NUL on, not shown
};

// The root menu's "New Script": asks for a name and opens an editor on a new,
// unsaved `scri` tag.
void NewScript();

}  // namespace tamber::editing
