#include "terrain/editor/MeshRenderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>

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

const void* Offset(size_t bytes) { return reinterpret_cast<const void*>(bytes); }
const void* IndexOffset(int first) { return Offset(size_t(first) * sizeof(uint16_t)); }

// The active unit's combiner: the colour by `mode` from its (source, operand)
// pairs, the alpha taken from `alphaSource`.
void Combine(GLenum mode, std::initializer_list<std::array<GLenum, 2>> sources, GLenum alphaSource) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GLint(mode));
    GLenum k = 0;
    for (const auto& [source, operand] : sources) {
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB + k, GLint(source));
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB + k, GLint(operand));
        ++k;
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GLint(alphaSource));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
}

// Unit 0 takes the colour map's colour and the vertex alpha; unit 1 multiplies that
// by twice the detail texture (mid-grey leaves the ground as it is); unit 2 mixes in
// the vertex colour by its alpha (the highlight tint); unit 3, used instead of unit
// 2 for detail layers, mixes unit 1's result with the plain ground by the vertex
// colour.
void SetUpTextureUnits(uint32_t white) {
    glActiveTexture(GL_TEXTURE0);
    Combine(GL_REPLACE, {{GL_TEXTURE, GL_SRC_COLOR}}, GL_PRIMARY_COLOR);
    glActiveTexture(GL_TEXTURE1);
    Combine(GL_MODULATE, {{GL_PREVIOUS, GL_SRC_COLOR}, {GL_TEXTURE, GL_SRC_COLOR}}, GL_PREVIOUS);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 2.0f);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, white);
    Combine(GL_INTERPOLATE, {{GL_PRIMARY_COLOR, GL_SRC_COLOR}, {GL_PREVIOUS, GL_SRC_COLOR}, {GL_PRIMARY_COLOR, GL_SRC_ALPHA}},
            GL_PREVIOUS);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, white);
    Combine(GL_INTERPOLATE, {{GL_PREVIOUS, GL_SRC_COLOR}, {GL_TEXTURE0, GL_SRC_COLOR}, {GL_PRIMARY_COLOR, GL_SRC_COLOR}},
            GL_PREVIOUS);
    glActiveTexture(GL_TEXTURE0);
}

void EnableUnit(GLenum unit, bool on) {
    glActiveTexture(unit);
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

// Colour-map coordinates to unit 0 and grid coordinates to unit 1, or neither.
void SetTexCoords(bool on, GLsizei stride, size_t colourMap, size_t grid) {
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1}) {
        glClientActiveTexture(unit);
        if (on) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, stride, Offset(unit == GL_TEXTURE0 ? colourMap : grid));
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
    }
    glClientActiveTexture(GL_TEXTURE0);
}

// Leaves the units as the toolkit's drawing expects them: only unit 0, modulating.
void ResetTextureUnits() {
    SetTexCoords(false, 0, 0, 0);
    for (GLenum unit : {GL_TEXTURE3, GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
        glActiveTexture(unit);
        glDisable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
    }
    glMatrixMode(GL_MODELVIEW);
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
        for (uint32_t* buffer : {&chunk.ground, &chunk.indices, &chunk.layers, &chunk.flatTint, &chunk.vertexTint})
            if (*buffer) glDeleteBuffers(1, buffer);
        if (chunk.texture) glDeleteTextures(1, &chunk.texture);
    }
    if (white_) glDeleteTextures(1, &white_);
}

void MeshRenderer::MarkCells(int x0, int z0, int x1, int z1) {
    for (Chunk& chunk : chunks_)
        if (x1 >= chunk.cells.x0 - 1 && x0 <= chunk.cells.x1 && z1 >= chunk.cells.z0 - 1 && z0 <= chunk.cells.z1)
            chunk.sortDirty = chunk.tintDirty = true;
}

void MeshRenderer::MarkAll() {
    for (Chunk& chunk : chunks_) chunk.sortDirty = chunk.tintDirty = true;
}

void MeshRenderer::MarkAnimated() {
    for (Chunk& chunk : chunks_)
        if (chunk.animated) chunk.groundDirty = chunk.sortDirty = chunk.tintDirty = true;
}

void MeshRenderer::Prepare(Chunk& chunk, const MeshDrawSettings& settings) {
    if (!chunk.texture) {
        Result<Image> image = MakeBlockTexture(colourMap_, chunk.block, shading_);
        if (image)
            chunk.texture = UploadBlockTexture(*image);
    }
    if (chunk.groundDirty) {
        Upload(chunk.ground, BuildGround(mesh_, chunk.cells, settings.placement));
        chunk.groundDirty = false;
    }
    if (chunk.sortDirty) {
        chunk.sorted = SortTriangles(mesh_, chunk.cells, settings.placement, settings.vertex, settings.triangle,
                                     settings.scales);
        Upload(chunk.indices, chunk.sorted.indices, GL_ELEMENT_ARRAY_BUFFER);
        Upload(chunk.layers, chunk.sorted.layers);
        // Only the ranges are kept: the arrays are in the buffers.
        chunk.sorted.indices = {};
        chunk.sorted.layers = {};
        chunk.sortDirty = false;
    }
    if (chunk.tintDirty && settings.highlight) {
        chunk.vertexTintCount = 0;
        if (settings.highlightInput.PerTriangle()) {
            Upload(chunk.flatTint, FlatTint(mesh_, chunk.cells, settings.highlightInput));
        } else {
            const std::vector<TintVertex> tint = VertexTint(mesh_, chunk.cells, settings.placement, settings.highlightInput);
            Upload(chunk.vertexTint, tint);
            chunk.vertexTintCount = int(tint.size());
        }
        chunk.tintDirty = false;
    }
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

    if (!white_) {
        // Sampled without filtering, the cheapest a texture unit can be.
        const uint8_t white[4] = {255, 255, 255, 255};
        glGenTextures(1, &white_);
        glBindTexture(GL_TEXTURE_2D, white_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    }
    SetUpTextureUnits(white_);
    unitScale_ = {};
    draws_ = 0;
    MeshDrawStats stats;
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glEnableClientState(GL_VERTEX_ARRAY);
    std::vector<std::pair<double, Chunk*>> visible;
    for (Chunk& chunk : chunks_) {
        chunk.visibility = Classify(planes, chunk.low, chunk.high);
        switch (chunk.visibility) {
        case Visibility::kInvisible: ++stats.invisible; continue;
        case Visibility::kPartial: ++stats.partial; break;
        case Visibility::kFull: ++stats.full; break;
        }
        stats.cells += chunk.cells.Count();
        visible.emplace_back(DistanceToEye(chunk, settings.eye), &chunk);
    }
    // Near chunks first: the depth test then spares the far ground hidden behind them.
    std::sort(visible.begin(), visible.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [distance, chunk] : visible) {
        Prepare(*chunk, settings);
        DrawChunk(*chunk, settings, settings.details && distance <= kDetailRange);
    }
    ResetTextureUnits();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    stats.draws = draws_;
    return stats;
}

double MeshRenderer::DistanceToEye(const Chunk& chunk, const Vec3& eye) {
    double squared = 0;
    for (size_t axis = 0; axis < 3; ++axis) {
        const double scale = axis == 1 ? 1.0 / kHeightUnitsPerCell : 1.0;
        const double low = chunk.low[axis] * scale, high = chunk.high[axis] * scale;
        const double gap = eye[axis] < low ? low - eye[axis] : eye[axis] > high ? eye[axis] - high : 0;
        squared += gap * gap;
    }
    return std::sqrt(squared);
}

// Unit 1 draws a detail texture over grid coordinates scaled to its repeats. The
// scale is set only when it changes: software OpenGL revalidates its state after
// every change of the texture matrix, and materials mostly share one scale.
void MeshRenderer::UseDetailTexture(uint32_t texture, const DetailScale& scale) {
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, texture);
    if (scale.u != unitScale_.u || scale.v != unitScale_.v) {
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glScalef(scale.u, scale.v, 1);
        glMatrixMode(GL_MODELVIEW);
        unitScale_ = scale;
    }
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

void MeshRenderer::Elements(int first, int count) {
    if (count == 0) return;
    glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, IndexOffset(first));
    ++draws_;
}

void MeshRenderer::Arrays(int first, int count) {
    if (count == 0) return;
    glDrawArrays(GL_TRIANGLES, first, count);
    ++draws_;
}

void MeshRenderer::BindGround(const Chunk& chunk, bool textured, bool tinted) {
    glBindBuffer(GL_ARRAY_BUFFER, chunk.ground);
    glVertexPointer(3, GL_FLOAT, sizeof(GroundVertex), Offset(offsetof(GroundVertex, x)));
    SetTexCoords(textured, sizeof(GroundVertex), offsetof(GroundVertex, u), offsetof(GroundVertex, gx));
    if (tinted) {
        glBindBuffer(GL_ARRAY_BUFFER, chunk.flatTint);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4ub(255, 255, 255, 255);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, chunk.indices);
}

void MeshRenderer::DrawGround(const Chunk& chunk, bool details, bool tint) {
    const ChunkTriangles& sorted = chunk.sorted;
    BindGround(chunk, true, tint);
    glShadeModel(GL_FLAT);  // each triangle's tint is its last vertex's colour
    glBindTexture(GL_TEXTURE_2D, chunk.texture);
    EnableUnit(GL_TEXTURE0, true);
    EnableUnit(GL_TEXTURE1, false);
    EnableUnit(GL_TEXTURE2, tint && white_);
    Elements(0, details ? sorted.plainCount : sorted.IndexCount());
}

void MeshRenderer::DrawLayers(const Chunk& chunk, const MeshDrawSettings& settings) {
    glBindBuffer(GL_ARRAY_BUFFER, chunk.layers);
    glVertexPointer(3, GL_FLOAT, sizeof(LayerVertex), Offset(offsetof(LayerVertex, x)));
    SetTexCoords(true, sizeof(LayerVertex), offsetof(LayerVertex, u), offsetof(LayerVertex, gx));
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(LayerVertex), Offset(offsetof(LayerVertex, r)));
    glShadeModel(GL_SMOOTH);
    // First layers are opaque and write depth; a layer without its texture shows
    // the plain ground.
    EnableUnit(GL_TEXTURE2, false);
    EnableUnit(GL_TEXTURE3, white_ != 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const DetailRange& run : chunk.sorted.layerRuns) {
        if (const uint32_t texture = settings.texture ? settings.texture(run.material) : 0)
            UseDetailTexture(texture, settings.scales[size_t(run.material)]);
        else
            EnableUnit(GL_TEXTURE1, false);
        Arrays(run.first, run.count);
    }
    EnableUnit(GL_TEXTURE3, false);
    EnableUnit(GL_TEXTURE1, false);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_BLEND);
}

void MeshRenderer::DrawChunk(const Chunk& chunk, const MeshDrawSettings& settings, bool details) {
    const bool flatTint = settings.highlight && settings.highlightInput.PerTriangle();
    DrawGround(chunk, details, flatTint);
    if (details && chunk.sorted.detailedCount > 0)
        DrawLayers(chunk, settings);
    EnableUnit(GL_TEXTURE0, false);
    EnableUnit(GL_TEXTURE2, false);

    // What the ground pass could not tint: triangles drawn by their layers (tinted
    // over them) and the tint fading from highlighted grid points.
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (flatTint && details && chunk.sorted.detailedCount > 0) {
        BindGround(chunk, false, true);
        glShadeModel(GL_FLAT);
        Elements(chunk.sorted.plainCount, chunk.sorted.detailedCount);
    }
    if (settings.highlight && !settings.highlightInput.PerTriangle() && chunk.vertexTintCount > 0) {
        glBindBuffer(GL_ARRAY_BUFFER, chunk.vertexTint);
        glShadeModel(GL_SMOOTH);
        SetTexCoords(false, 0, 0, 0);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(TintVertex), nullptr);
        glVertexPointer(3, GL_FLOAT, sizeof(TintVertex), reinterpret_cast<const void*>(offsetof(TintVertex, x)));
        Arrays(0, chunk.vertexTintCount);
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);

    if (settings.wireframe) {
        BindGround(chunk, false, false);
        glColor4ub(20, 20, 20, 255);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        Elements(0, chunk.sorted.IndexCount());
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

}  // namespace tamber::terrain::editor
