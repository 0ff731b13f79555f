#pragma once
// Draws a model from one vertex buffer, one batch per material: textured,
// lit by a light at the viewer, with depth test and back-face culling.
#include <cstdint>
#include <vector>

#include "models/Model.h"

namespace tamber::models::viewer {

class ModelRenderer {
public:
    // Keeps a reference to the model; buffers and textures are made at the
    // first draw (which needs the current context).
    explicit ModelRenderer(const Model& model);
    ~ModelRenderer();
    ModelRenderer(const ModelRenderer&) = delete;
    ModelRenderer& operator=(const ModelRenderer&) = delete;

    // Draws with the projection and modelview already set (model units).
    void Draw();
    // Frees the buffer and textures while the context is current.
    void Release();

private:
    struct Batch {
        uint32_t material = 0;
        int first = 0;
        int count = 0;
    };

    void Upload();
    // True when most of the surface faces outwards with clockwise corners (3D
    // Metafile imports are wound so, LightWave objects the other way).
    bool WoundClockwise() const;

    const Model& model_;
    uint32_t buffer_ = 0;
    std::vector<uint32_t> textures_;  // by material, 0 for none
    std::vector<Batch> batches_;
    bool uploaded_ = false;
    bool clockwise_ = false;
};

}  // namespace tamber::models::viewer
