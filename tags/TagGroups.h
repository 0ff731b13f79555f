#pragma once
// The fixed table of the 53 tag groups: code, plural name (display and local
// folder name), singular name (messages) and the editor factory slot that the
// editor registration fills at start-up.
#include <cstdint>
#include <string>

namespace tamber::tags {

class TagRecord;
using TagEditorFactory = void (*)(TagRecord* record);

struct TagGroup {
    uint32_t code;
    const char* plural;
    const char* singular;
    TagEditorFactory editor;
    uint32_t reserved;
};

constexpr int kTagGroupCount = 53;

const TagGroup& TagGroupAt(int index);
const TagGroup* FindTagGroup(uint32_t code);
// The plural name, or the code's four characters for an unknown code.
std::string TagGroupName(uint32_t code);
void SetTagGroupEditor(uint32_t code, TagEditorFactory factory);
// Calls the group's factory with the tag; nothing when the group has none.
void OpenTagGroupEditor(TagRecord* record);
// The group's folder name in a local folder: the plural name in lower case, or
// the code's four characters (made safe as a file name) for an unknown code.
std::string TagGroupFolderName(uint32_t code);

}  // namespace tamber::tags
