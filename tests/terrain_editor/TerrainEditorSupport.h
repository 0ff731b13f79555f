#pragma once
// Helpers for the terrain editor tests: loose tags of any group in a scratch game
// folder, detail textures of one colour, and image files of a given format.
#include <string>
#include <vector>

#include "images/MediaFile.h"
#include "tags/Codex.h"
#include "tags/TagOperations.h"
#include "terrain/DetailTexture.h"
#include "tests/editing/EditingTestSupport.h"

using namespace tamber::images;
using namespace tamber::terrain;

inline TagRecord* MakeTag(uint32_t group, const std::string& name, const std::vector<uint8_t>& payload,
                          uint16_t version = 0) {
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTag(codex, group, std::nullopt, name, false);
    if (!created) return nullptr;
    TagHeader header = created->header;
    header.version = version;
    Result<FILE*> stream = BeginTagWrite(codex, created->record, header);
    const bool written = stream && std::fwrite(payload.data(), 1, payload.size(), *stream) == payload.size();
    if (!FinishTagWrite(codex, created->record, &header, written)) return nullptr;
    codex.RefreshLocalFolder(true);
    return codex.FindTag(group, created->record->tagid);
}

inline DetailTexture SolidTexture(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b) {
    DetailTexture texture;
    texture.width = width, texture.height = height;
    for (size_t i = 0; i < size_t(width) * height; ++i) texture.pixels.insert(texture.pixels.end(), {r, g, b});
    return texture;
}

inline TagRecord* MakeDtexTag(const std::string& name, const DetailTexture& texture) {
    Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture);
    return payload ? MakeTag(FourCC("dtex"), name, *payload) : nullptr;
}

// Writes a width x height image of the format, every byte `fill`, as a PNG file.
inline bool WriteImageFile(const std::string& path, int width, int height, uint32_t format, uint8_t fill) {
    MediaFile file(path);
    if (!CreateImage(file.image, width, height, format)) return false;
    std::fill(file.image.pixels.begin(), file.image.pixels.end(), fill);
    return bool(SaveImage(file));
}
