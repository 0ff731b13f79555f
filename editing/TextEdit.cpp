#include "editing/TextEdit.h"

#include "tags/TextTagPayload.h"
#include "ui/widgets/TextBox.h"

namespace tamber::editing {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

TextEdit::TextEdit(TagRecord* record) : TagEdit(record), editor_(new TextBox(TextBox::kModeEditor, this)) {
    SetFrameXYWH(0, 0, kWidth, kHeight);
    SetFocusChild(editor_);
    editor_->changed.Connect(this, &TextEdit::OnTextChanged);
    OnResize();
}

void TextEdit::OnResize() { editor_->SetFrameXYWH(0, 0, Client().Width(), Client().Height()); }

int TextEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    Result<TextTagText> text = ReadTextTagPayload(stream, header);
    if (!text) return 0;
    editor_->SetText(text->text);
    tail_ = std::move(text->tail);
    return 1;
}

// The bytes after the text's first NUL are written back as they were read.
int TextEdit::WritePayload(FILE* stream, const TagHeader&) {
    return WriteTextTagPayload(stream, editor_->Text(), tail_) ? 1 : 0;
}

void TextEdit::OnTextChanged() { SetModified(1); }

TagEdit* TextEdit::Create(TagRecord* record) { return new TextEdit(record); }

void NewScript() { PromptNewTag(FourCC("scri"), nullptr); }

}  // namespace tamber::editing
