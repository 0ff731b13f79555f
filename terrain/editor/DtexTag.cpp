#include "terrain/editor/DtexTag.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include "tags/LooseTagFile.h"
#include "terrain/editor/MipmappedTexture.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::editing;
using namespace tamber::terrain;

DtexTag::DtexTag(TagRecord* record) : TagResource(record) {}

DtexTag::~DtexTag() { DropTexture(); }

void DtexTag::InitNew() { texture_ = MakeDefaultDetailTexture(), uploaded_ = false; }

int DtexTag::ParsePayload(FILE* stream, const TagHeader& header) {
    Result<std::vector<uint8_t>> payload = ReadTagPayloadBytes(stream, header);
    if (!payload)
        return 0;
    Result<DetailTexture> texture = ReadDetailTexture(*payload);
    if (!texture)
        return 0;
    texture_ = std::move(*texture);
    uploaded_ = false;
    return 1;
}

int DtexTag::WritePayload(FILE* stream, const TagHeader&) {
    Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture_);
    return payload && std::fwrite(payload->data(), 1, payload->size(), stream) == payload->size() ? 1 : 0;
}

void DtexTag::SetPixels(DetailTexture texture) {
    texture_ = std::move(texture);
    PixelsChanged();
}

void DtexTag::MakeDefaultImage() { SetPixels(MakeDefaultDetailTexture()); }

void DtexTag::PixelsChanged() {
    uploaded_ = false;
    NotifyContentChanged();
}

uint32_t DtexTag::Upload() {
    if (uploaded_ && glTexture_)
        return glTexture_;
    if (texture_.pixels.size() != texture_.PixelCount() * 3 || texture_.PixelCount() == 0)
        return 0;
    if (!glTexture_)
        glGenTextures(1, &glTexture_);
    if (!LoadMipmappedRgb(glTexture_, int(texture_.width), int(texture_.height), texture_.pixels.data(), true)) {
        DropTexture();
        return 0;
    }
    uploaded_ = true;
    return glTexture_;
}

void DtexTag::DropTexture() {
    if (glTexture_)
        glDeleteTextures(1, &glTexture_);
    glTexture_ = 0;
    uploaded_ = false;
}

TagResourceManager<DtexTag>& DtexTags() {
    static TagResourceManager<DtexTag> manager;
    return manager;
}

}  // namespace tamber::terrain::editor
