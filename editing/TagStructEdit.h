#pragma once
// The editor of every tag group whose payload is one record of a structure
// definition named after the group: a floating window holding a StructEditor.
#include "editing/TagEdit.h"

namespace tamber::editing {

class StructEditor;

class TagStructEdit : public TagEdit {
public:
    explicit TagStructEdit(TagRecord* record);
    const char* GetClassName() const override { return "TagStructEdit"; }

    // Fails when the group has no definition or layout, or the payload size differs.
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;
    // A new tag of the group starts as a zero-filled record.
    int BindNewTag(uint32_t group, const std::string& name) override;

    StructEditor* Editor() const { return editor_; }

    // The factory registered for groups with a definition.
    static TagEdit* Create(TagRecord* record);

private:
    bool CreateEditor(uint32_t group);
    bool BuildPanel();
    void OnChanged() { SetModified(1); }
    void OnOK();
    void OnCancel();

    StructEditor* editor_ = nullptr;
};

}  // namespace tamber::editing
