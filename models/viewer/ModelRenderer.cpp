#include "models/viewer/ModelRenderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tamber::models::viewer {

namespace {

// Corners whose smoothed normal leans more than this from their face take the
// face's normal, so hard edges stay hard.
constexpr float kSmoothingCosine = 0.7071f;  // 45 degrees

// One corner as glInterleavedArrays(GL_T2F_N3F_V3F) expects it.
struct CornerRecord {
    float u, v;
    float normal[3];
    float position[3];
};

void FaceNormal(const Model& model, const ModelTriangle& triangle, float (&n)[3]) {
    const float* a = model.vertices[triangle.corners[0].vertex].position;
    const float* b = model.vertices[triangle.corners[1].vertex].position;
    const float* c = model.vertices[triangle.corners[2].vertex].position;
    const float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    n[0] = e1[1] * e2[2] - e1[2] * e2[1];
    n[1] = e1[2] * e2[0] - e1[0] * e2[2];
    n[2] = e1[0] * e2[1] - e1[1] * e2[0];
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (float& value : n) value = length > 0 ? value / length : 0;
}

uint32_t UploadTexture(const Image& image) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

}  // namespace

ModelRenderer::ModelRenderer(const Model& model) : model_(model) {}

ModelRenderer::~ModelRenderer() = default;

void ModelRenderer::Release() {
    if (buffer_) glDeleteBuffers(1, &buffer_);
    for (uint32_t texture : textures_) {
        if (texture) glDeleteTextures(1, &texture);
    }
    buffer_ = 0;
    textures_.clear();
    batches_.clear();
    uploaded_ = false;
}

bool ModelRenderer::WoundClockwise() const {
    float centre[3];
    for (int axis = 0; axis < 3; ++axis) centre[axis] = (model_.boundsMin[axis] + model_.boundsMax[axis]) / 2;
    // Area-weighted vote of every triangle: does its counter-clockwise normal
    // point away from the centre?
    double outward = 0;
    for (const ModelTriangle& triangle : model_.triangles) {
        const float* a = model_.vertices[triangle.corners[0].vertex].position;
        const float* b = model_.vertices[triangle.corners[1].vertex].position;
        const float* c = model_.vertices[triangle.corners[2].vertex].position;
        const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
        const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        double dot = 0;
        for (int axis = 0; axis < 3; ++axis) dot += n[axis] * ((a[axis] + b[axis] + c[axis]) / 3.0 - centre[axis]);
        outward += dot;
    }
    return outward < 0;
}

void ModelRenderer::Upload() {
    uploaded_ = true;
    clockwise_ = WoundClockwise();
    const float facing = clockwise_ ? -1.0f : 1.0f;
    // Triangles in material order, so each material is one draw call.
    std::vector<uint32_t> order(model_.triangles.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return model_.triangles[a].material < model_.triangles[b].material;
    });
    std::vector<CornerRecord> corners;
    corners.reserve(order.size() * 3);
    for (uint32_t index : order) {
        const ModelTriangle& triangle = model_.triangles[index];
        if (batches_.empty() || batches_.back().material != triangle.material)
            batches_.push_back({triangle.material, int(corners.size()), 0});
        float face[3];
        FaceNormal(model_, triangle, face);
        for (const ModelCorner& corner : triangle.corners) {
            const ModelVertex& vertex = model_.vertices[corner.vertex];
            CornerRecord& record = corners.emplace_back();
            record.u = corner.u;
            record.v = corner.v;
            const float* smooth = vertex.normal;
            const bool keep = smooth[0] * face[0] + smooth[1] * face[1] + smooth[2] * face[2] >= kSmoothingCosine;
            const float* normal = keep ? smooth : face;
            for (int axis = 0; axis < 3; ++axis) record.normal[axis] = normal[axis] * facing;
            std::copy_n(vertex.position, 3, record.position);
        }
        batches_.back().count += 3;
    }
    glGenBuffers(1, &buffer_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(corners.size() * sizeof(CornerRecord)), corners.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    textures_.assign(model_.materials.size(), 0);
    for (size_t i = 0; i < model_.materials.size(); ++i) {
        const ModelMaterial& material = model_.materials[i];
        if (material.HasTexture() && material.texture.format == kPixelRGBA) textures_[i] = UploadTexture(material.texture);
    }
}

void ModelRenderer::Draw() {
    if (!uploaded_) Upload();
    if (!buffer_) return;
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_POLYGON_BIT | GL_TEXTURE_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(clockwise_ ? GL_CW : GL_CCW);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    // A light at the viewer (set in eye space, before the caller's view transform is applied).
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLfloat direction[4] = {0.3f, 0.5f, 1.0f, 0.0f};
    const GLfloat diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat ambient[4] = {0.35f, 0.35f, 0.35f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glPopMatrix();
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glColor4ub(255, 255, 255, 255);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glInterleavedArrays(GL_T2F_N3F_V3F, 0, nullptr);
    for (const Batch& batch : batches_) {
        const uint32_t texture = batch.material < textures_.size() ? textures_[batch.material] : 0;
        if (texture) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, texture);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        glDrawArrays(GL_TRIANGLES, batch.first, batch.count);
    }
    glPopClientAttrib();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
}

}  // namespace tamber::models::viewer
