#pragma once
// The base of every window that edits one tag. It ties the window to the tag's
// Codex record (attachment kind `edit`), reads and writes the payload through the
// Codex, keeps the modified flag and the "name*" title, asks before changes are
// lost, and creates new tags. A tag is open in at most one editor at a time.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tags/TagHeader.h"
#include "ui/Window.h"

namespace tamber::tags { class TagRecord; }

namespace tamber::editing {
using namespace tamber::tags;
using namespace tamber::ui;

class TagEdit : public Window {
public:
    // Unshown document window; with a record, attached to it as its editor.
    explicit TagEdit(TagRecord* record);
    // Detaches from the record if the window was destroyed without being closed.
    ~TagEdit() override;

    const char* GetClassName() const override { return "TagEdit"; }
    bool HandleEvent(Window* target, int kind, Event& event) override;
    // With unsaved changes asks "Save?": Save (stays open when the save fails),
    // Discard (drops the changes) or Cancel (stays open).
    bool CanClose(int force) override;
    void OnClose() override;
    // Control+S saves, modified or not.
    bool OnKey(Event& event) override;

    // Writes the payload to a stream placed after the header; non-zero on success.
    virtual int WritePayload(FILE* stream, const TagHeader& header);
    // Writes the tag's loose file; non-zero on success.
    virtual int Save();
    // Reads the payload from a stream at the tag's data; non-zero on success.
    virtual int ParsePayload(FILE* stream, const TagHeader& header);
    // Reads the tag's current copy; non-zero on success.
    virtual int Load();
    // Makes a new tag of the group and name (no file yet) and edits it; 1 on success.
    virtual int BindNewTag(uint32_t group, const std::string& name);
    // Drops unsaved edits; 1 when done.
    virtual int DiscardChanges();
    // Places, shows, raises and focuses the window.
    virtual void Present();

    // Sets the flag and the title: the tag name, followed by "*" while modified.
    void SetModified(int flag);
    // Saves, reporting a failure in an "Error" box; the result of Save, or 0.
    int SaveNow();

    int IsModified() const { return modified_; }
    TagRecord* Record() const { return record_; }
    const TagHeader& Header() const { return header_; }
    std::string TagName() const { return header_.Name(); }

protected:
    // For WritePayload: the header's user and version fields saved with the payload.
    void SetHeaderFields(uint32_t user, uint32_t version);

private:
    void Attach(TagRecord* record);
    void Detach();

    int32_t modified_ = 0;
    TagRecord* record_ = nullptr;
    TagHeader header_{};
};

// The tag's editor: the one already open (brought to the front), or a new one made
// by the group's factory, loaded and presented. None when the group has no editor
// or the tag cannot be read (reported in an "Error" box).
TagEdit* OpenTagEditor(TagRecord* record);
// Asks for a name and opens an editor on a new tag of the group, shown modified so
// that nothing is written before the user saves. None when cancelled or refused.
TagEdit* PromptNewTag(uint32_t group, const char* defaultName);

}  // namespace tamber::editing
