#include "editing/TagEditorRegistry.h"

#include <map>

#include "editing/TagEdit.h"
#include "editing/TagStructEdit.h"
#include "editing/TextEdit.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"

namespace tamber::editing {
using namespace tamber::tags;

namespace {

std::map<uint32_t, TagEditFactory>& Factories() {
    static std::map<uint32_t, TagEditFactory> factories;
    return factories;
}

// The group table's slot: opening a tag from the tags library goes through OpenTagEditor.
void OpenFromGroupTable(TagRecord* record) { OpenTagEditor(record); }

}  // namespace

void SetTagEditorFactory(uint32_t group, TagEditFactory factory) {
    if (!FindTagGroup(group)) return;
    if (factory) Factories()[group] = factory;
    else Factories().erase(group);
    SetTagGroupEditor(group, factory ? &OpenFromGroupTable : nullptr);
}

TagEditFactory FindTagEditorFactory(uint32_t group) {
    auto it = Factories().find(group);
    return it == Factories().end() ? nullptr : it->second;
}

const std::vector<TagEditorRegistration>& TagEditorRegistrations() {
    // Editors join the program by putting their factory into their row.
    static const std::vector<TagEditorRegistration> rows = {
        {kEveryStructureGroup, "TagStructEdit", &TagStructEdit::Create},
        {FourCC("ditl"), "TextEdit", &TextEdit::Create},
        {FourCC("scri"), "TextEdit", &TextEdit::Create},
        {FourCC("stli"), "TextEdit", &TextEdit::Create},
        {FourCC("temp"), "TextEdit", &TextEdit::Create},
        {FourCC("text"), "TextEdit", &TextEdit::Create},
        {FourCC("mesh"), "MeshEdit", nullptr},
        {FourCC("geom"), "GeomEdit", nullptr},
        {FourCC(".256"), "X256Edit", nullptr},
        {FourCC("dtex"), "DtexEdit", nullptr},
        {FourCC("soun"), "SoundEdit", nullptr},
        {FourCC("dmap"), "DmapEdit", nullptr},
        {FourCC("bina"), "DialogEdit", nullptr},
    };
    return rows;
}

uint32_t StructureDefinitionGroup(const std::string& name) {
    if (name.size() != 4) return 0;
    const uint32_t code = FourCCFromText(name);
    return FindTagGroup(code) ? code : 0;
}

void ApplyTagEditorRegistrations(const std::vector<TagEditorRegistration>& rows,
                                 const std::vector<std::string>& structureDefinitionNames) {
    for (const TagEditorRegistration& row : rows) {
        if (!row.factory) continue;
        if (row.group != kEveryStructureGroup) {
            SetTagEditorFactory(row.group, row.factory);
            continue;
        }
        for (const std::string& name : structureDefinitionNames) {
            if (const uint32_t group = StructureDefinitionGroup(name)) SetTagEditorFactory(group, row.factory);
        }
    }
}

void RegisterTagEditors(const std::vector<std::string>& structureDefinitionNames) {
    ApplyTagEditorRegistrations(TagEditorRegistrations(), structureDefinitionNames);
}

}  // namespace tamber::editing
