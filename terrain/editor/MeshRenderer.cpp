#include "terrain/editor/MeshRenderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "terrain/ColorMapShading.h"
#include "terrain/editor/MipmappedTexture.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::images;

namespace {

template <class T>
void Upload(uint32_t& buffer, const std::vector<T>& data, GLenum target = GL_ARRAY_BUFFER) {
    if (!buffer)
        glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, GLsizeiptr(data.size() * sizeof(T)), data.data(), GL_STATIC_DRAW);
    glBindBuffer(target, 0);
}

uint32_t UploadBlockTexture(const Image& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    if (!LoadMipmappedRgb(name, image.width, image.height, image.pixels.data(), false)) {
        glDeleteTextures(1, &name);
        return 0;
    }
    return name;
}

}  // namespace

MeshRenderer::MeshRenderer(const Mesh& mesh, const Collection& colourMap)
    : mesh_(mesh), colourMap_(colourMap), shading_(BuildShadingTable(colourMap.palette.data(), mesh.shading)) {
    for (int bz = 0; bz < mesh.blocksHigh; ++bz)
        for (int bx = 0; bx < mesh.blocksWide; ++bx) {
            Chunk chunk;
            chunk.cells = ChunkCells::Of(mesh, bx, bz);
            chunk.block = bz * mesh.blocksWide + bx;
            int low = 0, high = 0;
            bool first = true;
            for (int z = chunk.cells.z0; z <= chunk.cells.z1; ++z)
                for (int x = chunk.cells.x0; x <= chunk.cells.x1; ++x) {
                    const int h = mesh.SurfaceHeight(x, z);
                    low = first ? h : std::min(low, h), high = first ? h : std::max(high, h);
                    first = false;
                    chunk.animated = chunk.animated || (mesh.Cell(x, z).flags & kCellAnimatedMedia);
                }
            // Room for the media wave's vertical swing.
            const double swing = chunk.animated ? kHeightUnitsPerCell : 0;
            chunk.low = {double(chunk.cells.x0) - 1, low - swing, double(chunk.cells.z0) - 1};
            chunk.high = {double(chunk.cells.x1) + 1, high + swing, double(chunk.cells.z1) + 1};
            chunks_.push_back(std::move(chunk));
        }
}

MeshRenderer::~MeshRenderer() {
    for (Chunk& chunk : chunks_) {
        for (uint32_t* buffer : {&chunk.ground, &chunk.groundIndices, &chunk.detail, &chunk.tint})
            if (*buffer) glDeleteBuffers(1, buffer);
        if (chunk.texture) glDeleteTextures(1, &chunk.texture);
    }
}

void MeshRenderer::MarkCells(int x0, int z0, int x1, int z1) {
    for (Chunk& chunk : chunks_)
        if (x1 >= chunk.cells.x0 - 1 && x0 <= chunk.cells.x1 && z1 >= chunk.cells.z0 - 1 && z0 <= chunk.cells.z1)
            chunk.detailDirty = true;
}

void MeshRenderer::MarkAll() {
    for (Chunk& chunk : chunks_) chunk.detailDirty = true;
}

void MeshRenderer::MarkAnimated() {
    for (Chunk& chunk : chunks_)
        if (chunk.animated) chunk.groundDirty = chunk.detailDirty = true;
}

void MeshRenderer::Prepare(Chunk& chunk, const MeshDrawSettings& settings) {
    if (!chunk.texture) {
        Result<Image> image = MakeBlockTexture(colourMap_, chunk.block, shading_);
        if (image)
            chunk.texture = UploadBlockTexture(*image);
    }
    if (chunk.groundDirty) {
        const GroundMesh ground = BuildGround(mesh_, chunk.cells, settings.placement);
        Upload(chunk.ground, ground.vertices);
        Upload(chunk.groundIndices, ground.indices, GL_ELEMENT_ARRAY_BUFFER);
        chunk.groundCount = int(ground.indices.size());
        chunk.groundDirty = false;
    }
    if (!chunk.detailDirty)
        return;
    chunk.detailDirty = false;
    chunk.batches.clear();
    chunk.tintCount = 0;
    if (!settings.vertex || !settings.triangle)
        return;
    std::vector<DetailVertex> all;
    for (DetailBatch& batch : BuildDetail(mesh_, chunk.cells, settings.placement, *settings.vertex, *settings.triangle,
                                          settings.scales)) {
        chunk.batches.push_back({batch.material, int(all.size()), int(batch.vertices.size())});
        all.insert(all.end(), batch.vertices.begin(), batch.vertices.end());
    }
    Upload(chunk.detail, all);
    const std::vector<TintVertex> tint = BuildHighlight(mesh_, chunk.cells, settings.placement, settings.highlightInput);
    Upload(chunk.tint, tint);
    chunk.tintCount = int(tint.size());
}

MeshDrawStats MeshRenderer::Draw(const MeshDrawSettings& settings) {
    std::array<double, 16> projection{}, modelview{}, combined{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k)
                combined[size_t(c * 4 + r)] += projection[size_t(k * 4 + r)] * modelview[size_t(c * 4 + k)];
    const std::array<Plane, 4> planes = SidePlanes(combined);

    MeshDrawStats stats;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (Chunk& chunk : chunks_) {
        chunk.visibility = Classify(planes, chunk.low, chunk.high);
        switch (chunk.visibility) {
        case Visibility::kInvisible: ++stats.invisible; continue;
        case Visibility::kPartial: ++stats.partial; break;
        case Visibility::kFull: ++stats.full; break;
        }
        stats.cells += chunk.cells.Count();
        Prepare(chunk, settings);
        DrawChunk(chunk, settings, settings.details && NearEye(chunk, settings.eye));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return stats;
}

bool MeshRenderer::NearEye(const Chunk& chunk, const Vec3& eye) {
    double squared = 0;
    for (size_t axis = 0; axis < 3; ++axis) {
        const double scale = axis == 1 ? 1.0 / kHeightUnitsPerCell : 1.0;
        const double low = chunk.low[axis] * scale, high = chunk.high[axis] * scale;
        const double gap = eye[axis] < low ? low - eye[axis] : eye[axis] > high ? eye[axis] - high : 0;
        squared += gap * gap;
    }
    return squared <= kDetailRange * kDetailRange;
}

void MeshRenderer::DrawChunk(const Chunk& chunk, const MeshDrawSettings& settings, bool details) {
    // The ground, textured with the colour map.
    glBindBuffer(GL_ARRAY_BUFFER, chunk.ground);
    glInterleavedArrays(GL_T2F_V3F, 0, nullptr);
    glColor4ub(255, 255, 255, 255);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, chunk.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_BLEND);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, chunk.groundIndices);
    glDrawElements(GL_TRIANGLES, chunk.groundCount, GL_UNSIGNED_SHORT, nullptr);

    // Detail layers multiply the ground by twice the texture (128 leaves it as it
    // is), faded towards neutral grey by the vertex alpha.
    if (details && !chunk.batches.empty()) {
        glBindBuffer(GL_ARRAY_BUFFER, chunk.detail);
        glInterleavedArrays(GL_T2F_C4UB_V3F, 0, nullptr);
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR);
        glDepthMask(GL_FALSE);
        const GLfloat grey[4] = {0.5f, 0.5f, 0.5f, 1};
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, grey);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_CONSTANT);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_ALPHA);
        for (const auto& [material, first, count] : chunk.batches) {
            const uint32_t texture = settings.textures[size_t(material)];
            if (!texture) continue;
            glBindTexture(GL_TEXTURE_2D, texture);
            glDrawArrays(GL_TRIANGLES, first, count);
        }
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glDepthMask(GL_TRUE);
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    if (settings.highlight && chunk.tintCount > 0) {
        glBindBuffer(GL_ARRAY_BUFFER, chunk.tint);
        glInterleavedArrays(GL_C4UB_V3F, 0, nullptr);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glDrawArrays(GL_TRIANGLES, 0, chunk.tintCount);
        glDepthMask(GL_TRUE);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisable(GL_BLEND);
    }

    if (settings.wireframe) {
        glBindBuffer(GL_ARRAY_BUFFER, chunk.ground);
        glVertexPointer(3, GL_FLOAT, sizeof(GroundVertex), reinterpret_cast<const void*>(2 * sizeof(float)));
        glColor4ub(20, 20, 20, 255);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDrawElements(GL_TRIANGLES, chunk.groundCount, GL_UNSIGNED_SHORT, nullptr);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

}  // namespace tamber::terrain::editor
