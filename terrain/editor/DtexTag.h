#pragma once
// An open detail texture (`dtex`), shared through DtexTags() by every window that
// shows it: the RGB pixels and the OpenGL texture made from them, re-made at the
// first use after every change.
#include <cstdint>

#include "editing/TagResource.h"
#include "editing/TagResourceManager.h"
#include "terrain/DetailTexture.h"

namespace tamber::terrain::editor {
using namespace tamber::editing;
using namespace tamber::terrain;

class DtexTag : public TagResource {
public:
    explicit DtexTag(TagRecord* record);
    ~DtexTag() override;

    const char* GetClassName() const override { return "DtexTag"; }
    // A new tag starts with the default image.
    void InitNew() override;
    int ParsePayload(FILE* stream, const TagHeader& header) override;
    int WritePayload(FILE* stream, const TagHeader& header) override;

    // Replaces the pixels (sides powers of two); the tag database hears of the change.
    void SetPixels(DetailTexture texture);
    // 256 x 256 pixels of black and white 16 x 16 squares.
    void MakeDefaultImage();
    const DetailTexture& Pixels() const { return texture_; }
    // Tells the tag database and the texture that the pixels were changed in place.
    void PixelsChanged();

    // The OpenGL texture of the pixels (repeating, linear), made if not made since
    // the last change; 0 when OpenGL refuses. Needs the current context.
    uint32_t Upload();

private:
    void DropTexture();

    DetailTexture texture_;
    uint32_t glTexture_ = 0;
    bool uploaded_ = false;
};

// The manager every editor shares the open detail textures through.
TagResourceManager<DtexTag>& DtexTags();

}  // namespace tamber::terrain::editor
