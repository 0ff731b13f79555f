#pragma once
// Which editor class edits each tag group. The editing framework keeps a typed
// factory per group; the group table's editor slot then opens the tag through
// OpenTagEditor, so callers of the tags library open editors too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tamber::tags { class TagRecord; }

namespace tamber::editing {
using namespace tamber::tags;

class TagEdit;

// Makes a new, unshown editor for the record (none for a tag about to be created).
using TagEditFactory = TagEdit* (*)(TagRecord* record);

// Replaces the group's editor; a null factory leaves the group without one.
void SetTagEditorFactory(uint32_t group, TagEditFactory factory);
TagEditFactory FindTagEditorFactory(uint32_t group);

// One row of the start-up registration. A row whose group is kEveryStructureGroup
// registers its editor for every structure definition named after a group.
struct TagEditorRegistration {
    uint32_t group;
    const char* editorClass;
    TagEditFactory factory;  // null while the editor class is not part of the program
};
constexpr uint32_t kEveryStructureGroup = 0;

// The registration table in its order: the generic structure editor first, then the
// dedicated editors, which replace it for their groups.
const std::vector<TagEditorRegistration>& TagEditorRegistrations();
// The group a structure definition's name stands for: a four-character name equal
// to an existing group's code; none otherwise.
uint32_t StructureDefinitionGroup(const std::string& name);
// Applies rows in order; a later row replaces an earlier one for the same group.
void ApplyTagEditorRegistrations(const std::vector<TagEditorRegistration>& rows,
                                 const std::vector<std::string>& structureDefinitionNames);
// Start-up: registers every editor of the program (after the structure definitions are loaded).
void RegisterTagEditors(const std::vector<std::string>& structureDefinitionNames = {});

}  // namespace tamber::editing
