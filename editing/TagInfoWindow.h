#pragma once
// A tag's header facts (name, tagid, group, size, location), where the user renames
// the tag or changes its tagid. The window keeps itself in its tag record's
// attachment list with kind `info` (the attached object is the Window), so the
// Codex keeps the record and others can find the window.
#include <cstdint>
#include <string>

#include "ui/Window.h"

namespace tamber::tags { class TagRecord; }
namespace tamber::ui::widgets { class TextBox; }
namespace tamber::tags { struct CodexEvent; }

namespace tamber::editing {
using namespace tamber::ui;
using namespace tamber::tags;
using namespace tamber::ui::widgets;

class TagInfoWindow : public Window {
public:
    enum Field : int { kFieldName, kFieldSubgroup, kFieldGroup, kFieldSize, kFieldLocation, kFieldCount };

    static constexpr int kMargin = 12;
    static constexpr int kRowGap = 8;
    static constexpr int kColumnGap = 8;
    static constexpr int kFieldWidth = 256;
    static constexpr int kNameLength = 32;
    static constexpr int kSubgroupLength = 4;

    TagInfoWindow();
    ~TagInfoWindow() override;

    const char* GetClassName() const override { return "TagInfoWindow"; }

    // Moves the `info` attachment from the previous record to this one and fills
    // the fields; the changes typed so far are dropped.
    void SetTag(TagRecord* record);
    // Renames and re-identifies the tag from the fields. Every refusal is shown in
    // an "Error" box and changes nothing. True on success.
    bool Apply();

    // With unsaved changes asks "Save?": Save (stays open when applying fails),
    // Discard or Cancel (stays open).
    bool CanClose(int force) override;
    void OnClose() override;
    // Control+S applies.
    bool OnKey(Event& event) override;

    TagRecord* Record() const { return record_; }
    bool IsModified() const { return modified_; }
    TextBox* FieldBox(Field field) const { return fields_[field]; }

private:
    static void OnCodexEvent(const CodexEvent& event, void* context);
    void Attach(TagRecord* record);
    void Detach();
    // Shows the record's current facts; the editable fields only when unchanged.
    void Fill(bool editable);
    void SetModified(bool modified);
    void OnFieldChanged() { SetModified(true); }
    std::string CurrentName() const;

    TagRecord* record_ = nullptr;
    bool modified_ = false;
    TextBox* fields_[kFieldCount] = {};
};

// Brings the tag's information window to the front, or opens one. None for no tag.
Window* ShowTagInfo(TagRecord* record);

}  // namespace tamber::editing
