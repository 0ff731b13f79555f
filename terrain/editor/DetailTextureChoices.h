#pragma once
// How the mesh editor's lists name detail textures, and the textures a material
// can be given.
#include <cstdint>
#include <string>
#include <vector>

namespace tamber::terrain::editor {

// "<no tag>" for no texture, the `dtex` tag's name, or "'abcd' <not found>" when
// no tag has the tagid.
std::string DetailTextureLabel(uint32_t tagid);

struct TextureChoice {
    uint32_t tagid;
    std::string label;
};

// "<no tag>", then every `dtex` tag by name. A tagid given that no tag has follows
// "<no tag>" as a "<not found>" row, so keeping it is one of the choices.
std::vector<TextureChoice> DetailTextureChoices(uint32_t current);

}  // namespace tamber::terrain::editor
