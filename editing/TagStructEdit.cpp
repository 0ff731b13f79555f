#include "editing/TagStructEdit.h"

#include "editing/StructEditor.h"
#include "editing/definitions/DefinitionFiles.h"
#include "tags/Codex.h"

namespace tamber::editing {
using namespace tamber::definitions;
using namespace tamber::tags;

TagStructEdit::TagStructEdit(TagRecord* record) : TagEdit(record) {
    // A floating window in the document layer, shown by Present.
    ClearFlags(kStyleDocument);
    SetFlags(kStyleFloating & ~(kStyleUpperLayer | kStyleVisible));
}

TagEdit* TagStructEdit::Create(TagRecord* record) { return new TagStructEdit(record); }

bool TagStructEdit::CreateEditor(uint32_t group) {
    const StructDefinition* definition = FindStruct(FourCCText(group));
    if (!definition || editor_) return false;
    editor_ = new StructEditor(definition, this);
    editor_->changed.Connect(this, &TagStructEdit::OnChanged);
    return true;
}

bool TagStructEdit::BuildPanel() {
    if (!editor_->BuildPanel()) return false;
    editor_->accepted.Connect(this, &TagStructEdit::OnOK);
    editor_->rejected.Connect(this, &TagStructEdit::OnCancel);
    editor_->SetFrameXYWH(0, 0, editor_->Frame().Width(), editor_->Frame().Height());
    SizeClientTo(this, editor_->Frame().Width(), editor_->Frame().Height());
    SetFocusChild(editor_);
    return true;
}

int TagStructEdit::ParsePayload(FILE* stream, const TagHeader& header) {
    if (!CreateEditor(header.group)) return 0;
    const StructDefinition& definition = *editor_->Definition();
    if (header.size != uint32_t(definition.Size())) return 0;
    if (!ReadRecord(definition, editor_->Record(), stream).ok()) return 0;
    return BuildPanel() ? 1 : 0;
}

int TagStructEdit::BindNewTag(uint32_t group, const std::string& name) {
    // A new tag starts as a zero-filled record.
    if (!editor_ && (!CreateEditor(group) || !BuildPanel())) return 0;
    return TagEdit::BindNewTag(group, name);
}

int TagStructEdit::WritePayload(FILE* stream, const TagHeader& header) {
    (void)header;
    if (!editor_) return 0;
    return WriteRecord(*editor_->Definition(), editor_->Record(), stream).ok() ? 1 : 0;
}

void TagStructEdit::OnOK() {
    SetModified(1);
    // A failed save has been reported; the window stays open with the changes.
    if (!SaveNow()) return;
    Close();
}

void TagStructEdit::OnCancel() {
    SetModified(0);
    Close();
}

}  // namespace tamber::editing
