#include "editing/TagEdit.h"

#include <algorithm>
#include <cstdio>

#include "editing/AttachmentKinds.h"
#include "editing/TagEditorRegistry.h"
#include "editing/TagPayloadIO.h"
#include "tags/Codex.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::editing {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace {

// Texts shown in message boxes are cut at 255 characters.
constexpr size_t kMessageLimit = 256;

template <typename... Args>
std::string FormatMessage(const char* format, Args... args) {
    char text[kMessageLimit];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

}  // namespace

TagEdit::TagEdit(TagRecord* record) : Window(kStyleDocument, nullptr) { Attach(record); }

TagEdit::~TagEdit() { Detach(); }

void TagEdit::Attach(TagRecord* record) {
    record_ = record;
    if (record_) Codex::Instance().AttachToTag(record_, kAttachTagEditor, this);
}

void TagEdit::Detach() {
    TagRecord* record = record_;
    record_ = nullptr;
    if (record) Codex::Instance().DetachFromTag(record, kAttachTagEditor, this);
}

bool TagEdit::HandleEvent(Window* target, int kind, Event& event) { return Window::HandleEvent(target, kind, event); }

bool TagEdit::CanClose(int force) {
    if (modified_) {
        const std::string text = FormatMessage("Do you wish to save your changes to '%s'?", TagName().c_str());
        int answer = MessageBox("Save?", text.c_str(), {"Save", "Discard", "Cancel"});
        switch (answer) {
        case 0:
            if (!SaveNow()) return false;
            break;
        case 1:
            DiscardChanges();
            break;
        default:
            return false;
        }
    }
    return Window::CanClose(force);
}

void TagEdit::OnClose() { Detach(); }

bool TagEdit::OnKey(Event& event) {
    if (event.Pressed() && event.Key() == 'S' && (event.Modifiers() & kModCtrl)) {
        SaveNow();
        return true;
    }
    return false;
}

int TagEdit::WritePayload(FILE*, const TagHeader&) { return 0; }

int TagEdit::ParsePayload(FILE*, const TagHeader&) { return 0; }

// The header being written is header_ itself (WriteTagPayload completes the file's
// header from it once the payload is written), so the fields land in this save.
void TagEdit::SetHeaderFields(uint32_t user, uint32_t version) {
    header_.user = user;
    header_.version = version;
}

int TagEdit::Save() {
    return WriteTagPayload(Codex::Instance(), record_, header_,
                           [this](FILE* stream, const TagHeader& header) { return WritePayload(stream, header); });
}

int TagEdit::Load() {
    return ReadTagPayload(Codex::Instance(), record_, header_,
                          [this](FILE* stream, const TagHeader& header) { return ParsePayload(stream, header); });
}

int TagEdit::BindNewTag(uint32_t group, const std::string& name) {
    Result<NewTag> created = CreateTag(Codex::Instance(), group, std::nullopt, name, false);
    Detach();
    if (!created) return 0;
    header_ = created->header;
    Attach(created->record);
    return 1;
}

int TagEdit::DiscardChanges() { return 1; }

void TagEdit::Present() {
    PresentAtCascadePosition(this, this);
}

void TagEdit::SetModified(int flag) {
    modified_ = flag;
    const std::string name = TagName();
    SetName(flag ? (name + "*").c_str() : name.c_str());
    Invalidate();
}

int TagEdit::SaveNow() {
    const int result = Save();
    if (!result) {
        MessageBox("Error", "The save operation could not be completed.", {"OK"});
        return 0;
    }
    SetModified(0);
    return result;
}

TagEdit* OpenTagEditor(TagRecord* record) {
    if (!record) return nullptr;
    if (void* open = Codex::Instance().FindAttachment(record, kAttachTagEditor)) {
        auto* editor = static_cast<TagEdit*>(open);
        editor->SetVisible(true);
        editor->BringToFront();
        WS().SetFocus(editor, kFocusByProgram);
        return editor;
    }
    if (!FindTagGroup(record->group)) return nullptr;
    const TagEditFactory factory = FindTagEditorFactory(record->group);
    if (!factory) return nullptr;
    TagEdit* editor = factory(record);
    if (!editor) return nullptr;
    if (!editor->Load()) {
        MessageBox("Error", "The tag could not be loaded.", {"OK"});
        editor->Close();
        return nullptr;
    }
    editor->SetModified(0);
    editor->Present();
    return editor;
}

TagEdit* PromptNewTag(uint32_t group, const char* defaultName) {
    const TagGroup* entry = FindTagGroup(group);
    if (!entry) return nullptr;
    const std::string title = FormatMessage("Enter Name for %s", entry->singular);
    const std::string create = FormatMessage("Create %s", entry->singular);
    std::string name = defaultName ? defaultName : "";
    if (MessageBoxWithInput(title.c_str(), name, {create.c_str(), "Cancel"}) != 0) return nullptr;
    if (name.empty()) {
        MessageBox("Not Created", "You must specify a name.", {"OK"});
        return nullptr;
    }
    const TagEditFactory factory = FindTagEditorFactory(group);
    if (!factory) return nullptr;
    TagEdit* editor = factory(nullptr);
    if (!editor) return nullptr;
    if (!editor->BindNewTag(group, name)) {
        const std::string text =
            FormatMessage("The tag file '%s' could not be created; It may already exist.", name.c_str());
        MessageBox("Error", text.c_str(), {"OK"});
        editor->Close();
        return nullptr;
    }
    editor->Present();
    editor->SetModified(1);
    return editor;
}

}  // namespace tamber::editing
