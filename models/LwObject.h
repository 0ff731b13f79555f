#pragma once
// In-memory LightWave object (LWO2 or LWOB): layers with points, polygons and
// vertex maps, the tag strings, surfaces with their texture blocks, image
// clips and envelopes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "tags/FourCC.h"

namespace tamber::models {
using namespace tamber::tags;

// One value of a vertex map attached to a point or a polygon corner.
struct LwVMapRef {
    uint32_t vmap = 0;   // index into the layer's vertex maps
    uint32_t entry = 0;  // entry of that map
};

struct LwPoint {
    float position[3] = {0, 0, 0};
    std::vector<uint32_t> polygons;  // polygons that use the point
    std::vector<LwVMapRef> vmaps;    // continuous vertex-map values (VMAP)
};

struct LwPolygonVertex {
    uint32_t index = 0;  // point index in the layer
    float normal[3] = {0, 0, 0};
    std::vector<LwVMapRef> vmaps;  // discontinuous vertex-map values (VMAD)
};

struct LwPolygon {
    uint32_t type = FourCC("FACE");
    uint16_t flags = 0;
    std::vector<LwPolygonVertex> vertices;
    int32_t tag = -1;      // index of the surface name in the tag strings
    int32_t surface = -1;  // index into the object's surfaces
    int32_t part = -1;
    int32_t smoothGroup = 0;
    float normal[3] = {0, 0, 0};
};

struct LwVMap {
    uint32_t type = 0;  // TXUV for texture coordinates
    uint32_t dimension = 0;
    std::string name;
    bool perPolygon = false;          // VMAD
    std::vector<uint32_t> points;     // per entry
    std::vector<uint32_t> polygons;   // per entry, VMAD only
    std::vector<float> values;        // dimension values per entry

    const float* Value(uint32_t entry) const { return values.data() + size_t(entry) * dimension; }
};

struct LwLayer {
    uint16_t index = 0;
    uint16_t flags = 0;
    float pivot[3] = {0, 0, 0};
    std::string name;
    int32_t parent = -1;
    float boundsMin[3] = {0, 0, 0};
    float boundsMax[3] = {0, 0, 0};
    std::vector<LwPoint> points;
    std::vector<LwPolygon> polygons;
    std::vector<LwVMap> vmaps;

    // The map of this type and name, or null.
    const LwVMap* FindVMap(uint32_t type, const std::string& name, bool perPolygon) const;
};

enum class LwProjection : int32_t { Planar = 0, Cylindrical = 1, Spherical = 2, Cubic = 3, Front = 4, UV = 5 };

// A texture block: an LWO2 BLOK, or an LWOB texture started by CTEX and its siblings.
struct LwTexture {
    uint32_t type = FourCC("IMAP");     // IMAP, PROC or GRAD
    uint32_t channel = FourCC("COLR");
    std::string ordinal;
    bool enabled = true;
    bool negative = false;
    uint16_t opacityType = 0;
    float opacity = 1;
    int32_t axis = 0;  // 0 X, 1 Y, 2 Z
    LwProjection projection = LwProjection::Planar;
    uint32_t clipIndex = 0;  // 0: no image
    std::string vmapName;    // UV map of a UV projection
    uint16_t wrapWidth = 1;
    uint16_t wrapHeight = 1;
    float center[3] = {0, 0, 0};
    float size[3] = {1, 1, 1};
    float rotation[3] = {0, 0, 0};
    std::string procedure;  // procedure name, or an LWOB texture type text

    const char* TypeName() const;
    const char* ProjectionName() const;
};

struct LwSurface {
    std::string name;
    std::string source;
    float color[3] = {0.78431f, 0.78431f, 0.78431f};
    float luminosity = 0;
    float diffuse = 1;
    float specular = 0;
    float reflection = 0;
    float transparency = 0;
    float translucency = 0;
    float glossiness = 0.4f;
    float refractionIndex = 1;
    float smoothing = 0;  // maximum smoothing angle in radians
    uint16_t sideFlags = 1;
    std::vector<LwTexture> textures;

    // The first image map with UV projection, or null.
    const LwTexture* FirstUvImageMap() const;
};

struct LwClip {
    uint32_t index = 0;
    bool sequence = false;
    std::string stillName;  // STIL file name
    std::string prefix;     // ISEQ file name parts
    std::string suffix;
    uint8_t digits = 0;
    int16_t start = 0;
    int16_t end = 0;

    std::string DisplayName() const { return sequence ? "(sequence)" : stillName; }
};

struct LwEnvelopeKey {
    float time = 0;
    float value = 0;
};

struct LwEnvelope {
    uint32_t index = 0;
    uint16_t type = 0;
    uint16_t preBehaviour = 1;
    uint16_t postBehaviour = 1;
    std::string name = "Position.X";
    std::vector<LwEnvelopeKey> keys;
};

struct LwObject {
    std::vector<LwLayer> layers;
    std::vector<std::string> tags;
    std::vector<LwSurface> surfaces;
    std::vector<LwClip> clips;
    std::vector<LwEnvelope> envelopes;

    const LwClip* FindClip(uint32_t index) const;
};

// Reads an IFF FORM of type LWO2 or LWOB. Fails when the data is not such a form
// or ends inside a chunk; the message names the chunk being read and the byte
// offset where reading stopped.
base::Result<LwObject> ReadLwObject(const uint8_t* data, size_t size);
// The same for a named file, which must be a regular file of at most
// kMaxModelFileBytes.
base::Result<LwObject> ReadLwObjectFile(const std::string& path);

}  // namespace tamber::models
