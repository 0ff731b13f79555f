#include "tags/TagGroups.h"

#include <cctype>

#include "tags/FourCC.h"
#include "tags/TagHeader.h"
#include "tags/TagRecord.h"

namespace tamber::tags {

namespace {

TagGroup gGroups[kTagGroupCount] = {
    {FourCC("amso"), "Ambient Sounds", "Ambient Sound", nullptr, 0},
    {FourCC("anim"), "Model Animations", "Model Animation", nullptr, 0},
    {FourCC("arti"), "Artifacts", "Artifact", nullptr, 0},
    {FourCC("core"), "Collection References", "Collection Reference", nullptr, 0},
    {FourCC(".256"), "Collections", "Collection", nullptr, 0},
    {FourCC("conn"), "Connectors", "Connector", nullptr, 0},
    {FourCC("ditl"), "Dialog String Lists", "Dialog String List", nullptr, 0},
    {FourCC("dmap"), "Detail Maps", "Detail Map", nullptr, 0},
    {FourCC("dtex"), "Detail Textures", "Detail Texture", nullptr, 0},
    {FourCC("bina"), "Dialogs", "Dialog", nullptr, 0},
    {FourCC("font"), "Fonts", "Font", nullptr, 0},
    {FourCC("form"), "Formations", "Formations", nullptr, 0},
    {FourCC("geom"), "Geometries", "Geometry", nullptr, 0},
    {FourCC("inte"), "Interface", "Interface", nullptr, 0},
    {FourCC("ligh"), "Lightning", "Lightning", nullptr, 0},
    {FourCC("phys"), "Local Physics", "Local Physics", nullptr, 0},
    {FourCC("lpgr"), "Local Projectile Groups", "Local Projectile Group", nullptr, 0},
    {FourCC("medi"), "Media Types", "Media Type", nullptr, 0},
    {FourCC("meef"), "Mesh Effect", "Mesh Effect", nullptr, 0},
    {FourCC("meli"), "Mesh Lighting", "Mesh Lighting", nullptr, 0},
    {FourCC("mesh"), "Meshes", "Mesh", nullptr, 0},
    {FourCC("mode"), "Models", "Model", nullptr, 0},
    {FourCC("mons"), "Monsters", "Monster", nullptr, 0},
    {FourCC("obje"), "Objects", "Object", nullptr, 0},
    {FourCC("obpc"), "Observer Constants", "Observer Constants", nullptr, 0},
    {FourCC("part"), "Particle Systems", "Particle Systems", nullptr, 0},
    {FourCC("pref"), "Preferences", "Preferences", nullptr, 0},
    {FourCC("prel"), "Preloaded Data", "Preloaded Data", nullptr, 0},
    {FourCC("prgr"), "Projectile Groups", "Projectile Group", nullptr, 0},
    {FourCC("proj"), "Projectiles", "Projectile", nullptr, 0},
    {FourCC("reco"), "Recordings", "Recording", nullptr, 0},
    {FourCC("save"), "Saved Games", "Save", nullptr, 0},
    {FourCC("scen"), "Scenery", "Scenery", nullptr, 0},
    {FourCC("scri"), "Scripts", "Script", nullptr, 0},
    {FourCC("soli"), "Sound Lists", "Sound List", nullptr, 0},
    {FourCC("soun"), "Sounds", "Sound", nullptr, 0},
    {FourCC("stli"), "String Lists", "String List", nullptr, 0},
    {FourCC("temp"), "Templates", "Template", nullptr, 0},
    {FourCC("text"), "Text", "Text", nullptr, 0},
    {FourCC("unit"), "Units", "Unit", nullptr, 0},
    {FourCC("wind"), "Wind", "Wind", nullptr, 0},
    {FourCC("txst"), "Texture Stacks", "Texture Stack", nullptr, 0},
    {FourCC("skmd"), "Skeletal Models", "Skeletal Model", nullptr, 0},
    {FourCC("skan"), "Skeletal Animation", "Skeletal Animation", nullptr, 0},
    {FourCC("canm"), "Camera Animations", "Camera Animation", nullptr, 0},
    {FourCC("loli"), "Local Lights", "Local Light", nullptr, 0},
    {FourCC("glli"), "Global Lights", "Global Light", nullptr, 0},
    {FourCC("grsp"), "Ground Sprites", "Ground Sprites", nullptr, 0},
    {FourCC("spri"), "Sprite Definitions", "Sprite Definition", nullptr, 0},
    {FourCC("game"), "Game Parameters", "Game Parameters", nullptr, 0},
    {FourCC("rawd"), "Raw Files", "Raw File", nullptr, 0},
    {FourCC("jpeg"), "JPEG Files", "JPEG File", nullptr, 0},
    {FourCC("quik"), "Quicktime/MP3", "Quicktime/MP3", nullptr, 0},
};

}  // namespace

const TagGroup& TagGroupAt(int index) { return gGroups[index]; }

const TagGroup* FindTagGroup(uint32_t code) {
    for (const TagGroup& group : gGroups) {
        if (group.code == code) return &group;
    }
    return nullptr;
}

std::string TagGroupName(uint32_t code) {
    const TagGroup* group = FindTagGroup(code);
    return group ? group->plural : FourCCText(code);
}

void SetTagGroupEditor(uint32_t code, TagEditorFactory factory) {
    if (auto* group = const_cast<TagGroup*>(FindTagGroup(code))) group->editor = factory;
}

void OpenTagGroupEditor(TagRecord* record) {
    if (!record) return;
    const TagGroup* group = FindTagGroup(record->group);
    if (group && group->editor) group->editor(record);
}

std::string TagGroupFolderName(uint32_t code) {
    const TagGroup* group = FindTagGroup(code);
    if (!group) {
        std::string text = FourCCText(code);
        for (char& c : text) {
            if (c == 0) c = '_';
        }
        return TagFileName(text);
    }
    std::string name = group->plural;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace tamber::tags
