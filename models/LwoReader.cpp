// Reads LightWave objects (LWO2 and LWOB) into an LwObject. Every chunk and
// sub-chunk length is checked against the bytes of its parent; a short chunk
// fails the read with its ID and file position.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "models/IffCursor.h"
#include "models/LwObject.h"
#include "models/Model.h"
#include "platform/fs/FileBytes.h"

namespace tamber::models {
using namespace tamber::base;
using namespace tamber::platform;

namespace {

// The surface specularity chunk.
constexpr uint32_t kSpecularityChunk = FourCC("SPEC");

// Points shared by more polygons than this are smoothed over the first ones
// only, which keeps the pairwise smoothing pass linear in the file size.
constexpr size_t kSmoothingNeighbourLimit = 256;

// Takes the next sub-chunk (ID, 16-bit length, data padded to even size).
bool NextSub(IffCursor& parent, uint32_t& id, IffCursor& sub) {
    uint16_t length;
    return parent.U4(id) && parent.U2(length) && parent.Sub(length, true, sub);
}

// Calls read(id, sub) for every sub-chunk left in `parent`; false when one is
// cut short or `read` fails.
template <class Read>
bool ForEachSub(IffCursor& parent, Read read) {
    while (!parent.AtEnd()) {
        uint32_t id;
        IffCursor sub(nullptr, 0);
        if (!NextSub(parent, id, sub) || !read(id, sub)) return false;
    }
    return true;
}

class LwoReader {
public:
    bool Read(const uint8_t* data, size_t size);

    LwObject object;
    uint32_t failId = 0;
    size_t failPosition = 0;

private:
    bool Fail(const IffCursor& at);
    LwLayer& Layer();

    bool ReadChunk(uint32_t id, IffCursor& chunk);
    bool ReadTags(IffCursor& chunk);
    bool ReadLayer(IffCursor& chunk);
    bool ReadPoints(IffCursor& chunk);
    bool ReadBounds(IffCursor& chunk);
    bool ReadPolygons(IffCursor& chunk);
    bool ReadOldPolygons(IffCursor& chunk);
    bool ReadPolygonTags(IffCursor& chunk);
    bool ReadVMap(IffCursor& chunk, bool perPolygon);
    bool ReadClip(IffCursor& chunk);
    bool ReadEnvelope(IffCursor& chunk);
    bool ReadSurface(IffCursor& chunk);
    bool ReadBlock(IffCursor& block, LwSurface& surface);
    bool ReadBlockHeader(IffCursor& header, LwTexture& texture);
    bool ReadTextureMap(IffCursor& tmap, LwTexture& texture);
    bool ReadOldSurface(IffCursor& chunk);
    bool ReadOldSurfaceField(uint32_t id, IffCursor& sub, LwSurface& surface);
    bool AddPolygon(IffCursor& at, uint32_t type, uint16_t flags, const std::vector<uint32_t>& indices, int32_t tag);

    void Finish();
    void ResolveSurfaces();
    void LinkLayer(LwLayer& layer);
    void ComputeNormals(LwLayer& layer);

    bool old_ = false;
    uint32_t chunkId_ = 0;
    size_t pointOffset_ = 0;
    size_t polygonOffset_ = 0;
};

bool LwoReader::Fail(const IffCursor& at) {
    failId = chunkId_;
    failPosition = at.Position();
    return false;
}

LwLayer& LwoReader::Layer() {
    if (object.layers.empty()) object.layers.emplace_back();
    return object.layers.back();
}


bool LwoReader::Read(const uint8_t* data, size_t size) {
    IffCursor file(data, size);
    chunkId_ = FourCC("FORM");
    uint32_t form, formSize, type;
    IffCursor body(nullptr, 0);
    if (!file.U4(form) || form != FourCC("FORM") || !file.U4(formSize) || !file.Sub(formSize, false, body))
        return Fail(file);
    if (!body.U4(type) || (type != FourCC("LWO2") && type != FourCC("LWOB"))) return Fail(body);
    old_ = type == FourCC("LWOB");
    while (!body.AtEnd()) {
        uint32_t id, length;
        if (!body.U4(id)) return Fail(body);
        chunkId_ = id;
        IffCursor chunk(nullptr, 0);
        if (!body.U4(length) || !body.Sub(length, true, chunk)) return Fail(body);
        if (!ReadChunk(id, chunk)) return Fail(chunk);
    }
    Finish();
    return true;
}

bool LwoReader::ReadChunk(uint32_t id, IffCursor& chunk) {
    switch (id) {
    case FourCC("TAGS"):
    case FourCC("SRFS"):
        return ReadTags(chunk);
    case FourCC("LAYR"):
        return ReadLayer(chunk);
    case FourCC("PNTS"):
        return ReadPoints(chunk);
    case FourCC("BBOX"):
        return ReadBounds(chunk);
    case FourCC("POLS"):
        return old_ ? ReadOldPolygons(chunk) : ReadPolygons(chunk);
    case FourCC("PTAG"):
        return ReadPolygonTags(chunk);
    case FourCC("VMAP"):
        return ReadVMap(chunk, false);
    case FourCC("VMAD"):
        return ReadVMap(chunk, true);
    case FourCC("CLIP"):
        return ReadClip(chunk);
    case FourCC("ENVL"):
        return ReadEnvelope(chunk);
    case FourCC("SURF"):
        return old_ ? ReadOldSurface(chunk) : ReadSurface(chunk);
    default:
        return true;  // unknown chunks are skipped by their length
    }
}

bool LwoReader::ReadTags(IffCursor& chunk) {
    while (!chunk.AtEnd()) {
        std::string tag;
        if (!chunk.S0(tag)) return false;
        object.tags.push_back(std::move(tag));
    }
    return true;
}

bool LwoReader::ReadLayer(IffCursor& chunk) {
    LwLayer layer;
    if (!chunk.U2(layer.index) || !chunk.U2(layer.flags) || !chunk.Vec12(layer.pivot) || !chunk.S0(layer.name))
        return false;
    uint16_t parent;
    if (chunk.Remaining() >= 2 && chunk.U2(parent)) layer.parent = parent;
    object.layers.push_back(std::move(layer));
    pointOffset_ = 0;
    polygonOffset_ = 0;
    return true;
}

bool LwoReader::ReadPoints(IffCursor& chunk) {
    LwLayer& layer = Layer();
    pointOffset_ = layer.points.size();
    layer.points.reserve(pointOffset_ + chunk.Remaining() / 12);
    while (chunk.Remaining() >= 12) {
        LwPoint& point = layer.points.emplace_back();
        chunk.Vec12(point.position);
    }
    return true;
}

bool LwoReader::ReadBounds(IffCursor& chunk) {
    LwLayer& layer = Layer();
    return chunk.Vec12(layer.boundsMin) && chunk.Vec12(layer.boundsMax);
}

bool LwoReader::AddPolygon(IffCursor& at, uint32_t type, uint16_t flags, const std::vector<uint32_t>& indices,
                           int32_t tag) {
    LwLayer& layer = Layer();
    LwPolygon& polygon = layer.polygons.emplace_back();
    polygon.type = type;
    polygon.flags = flags;
    polygon.tag = tag;
    polygon.vertices.resize(indices.size());
    for (size_t i = 0; i < indices.size(); ++i) {
        const size_t index = pointOffset_ + indices[i];
        if (index >= layer.points.size()) return Fail(at);
        polygon.vertices[i].index = uint32_t(index);
    }
    return true;
}

bool LwoReader::ReadPolygons(IffCursor& chunk) {
    uint32_t type;
    if (!chunk.U4(type)) return false;
    polygonOffset_ = Layer().polygons.size();
    std::vector<uint32_t> indices;
    while (!chunk.AtEnd()) {
        uint16_t countAndFlags;
        if (!chunk.U2(countAndFlags)) return false;
        indices.resize(countAndFlags & 0x03FF);
        for (uint32_t& index : indices) {
            if (!chunk.VX(index)) return false;
        }
        if (!AddPolygon(chunk, type, uint16_t(countAndFlags >> 10), indices, -1)) return false;
    }
    return true;
}

// LWOB polygons: u16 vertex count, u16 indices, i16 surface (1-based); a
// negative surface means detail polygons follow, announced by a u16 count,
// and they are laid out like any other polygon.
bool LwoReader::ReadOldPolygons(IffCursor& chunk) {
    polygonOffset_ = Layer().polygons.size();
    std::vector<uint32_t> indices;
    while (!chunk.AtEnd()) {
        uint16_t count;
        if (!chunk.U2(count)) return false;
        indices.resize(count);
        for (uint32_t& index : indices) {
            uint16_t value;
            if (!chunk.U2(value)) return false;
            index = value;
        }
        int16_t surface;
        if (!chunk.I2(surface)) return false;
        if (surface < 0) {
            uint16_t details;
            if (!chunk.U2(details)) return false;
            surface = int16_t(-surface);
        }
        if (!AddPolygon(chunk, FourCC("FACE"), 0, indices, int32_t(surface) - 1)) return false;
    }
    return true;
}

bool LwoReader::ReadPolygonTags(IffCursor& chunk) {
    uint32_t type;
    if (!chunk.U4(type)) return false;
    LwLayer& layer = Layer();
    while (!chunk.AtEnd()) {
        uint32_t polygon;
        uint16_t tag;
        if (!chunk.VX(polygon) || !chunk.U2(tag)) return false;
        const size_t index = polygonOffset_ + polygon;
        if (index >= layer.polygons.size()) continue;
        if (type == FourCC("SURF")) layer.polygons[index].tag = tag;
        if (type == FourCC("PART")) layer.polygons[index].part = tag;
        if (type == FourCC("SMGP")) layer.polygons[index].smoothGroup = tag;
    }
    return true;
}

bool LwoReader::ReadVMap(IffCursor& chunk, bool perPolygon) {
    uint32_t type;
    uint16_t dimension;
    std::string name;
    if (!chunk.U4(type) || !chunk.U2(dimension) || !chunk.S0(name)) return false;
    LwLayer& layer = Layer();
    // Maps split over several chunks are joined.
    auto it = std::find_if(layer.vmaps.begin(), layer.vmaps.end(), [&](const LwVMap& map) {
        return map.type == type && map.name == name && map.perPolygon == perPolygon && map.dimension == dimension;
    });
    LwVMap& map = it != layer.vmaps.end() ? *it : layer.vmaps.emplace_back();
    map.type = type;
    map.dimension = dimension;
    map.name = name;
    map.perPolygon = perPolygon;
    while (!chunk.AtEnd()) {
        uint32_t point, polygon = 0;
        if (!chunk.VX(point) || (perPolygon && !chunk.VX(polygon))) return false;
        if (chunk.Remaining() < size_t(dimension) * 4) return false;
        const size_t pointIndex = pointOffset_ + point;
        const size_t polygonIndex = polygonOffset_ + polygon;
        const bool valid =
            pointIndex < layer.points.size() && (!perPolygon || polygonIndex < layer.polygons.size());
        for (uint16_t i = 0; i < dimension; ++i) {
            float value;
            chunk.F4(value);
            if (valid) map.values.push_back(value);
        }
        if (!valid) continue;  // an entry for a point or polygon that does not exist is dropped
        map.points.push_back(uint32_t(pointIndex));
        if (perPolygon) map.polygons.push_back(uint32_t(polygonIndex));
    }
    return true;
}

bool LwoReader::ReadClip(IffCursor& chunk) {
    LwClip clip;
    if (!chunk.U4(clip.index)) return false;
    const bool ok = ForEachSub(chunk, [&](uint32_t id, IffCursor& sub) {
        if (id == FourCC("STIL")) return sub.S0(clip.stillName);
        if (id != FourCC("ISEQ")) return true;
        uint8_t flags;
        int16_t offset;
        uint16_t reserved;
        clip.sequence = true;
        return sub.U1(clip.digits) && sub.U1(flags) && sub.I2(offset) && sub.U2(reserved) && sub.I2(clip.start) &&
               sub.I2(clip.end) && sub.S0(clip.prefix) && sub.S0(clip.suffix);
    });
    if (ok) object.clips.push_back(std::move(clip));
    return ok;
}

bool LwoReader::ReadEnvelope(IffCursor& chunk) {
    LwEnvelope envelope;
    if (!chunk.VX(envelope.index)) return false;
    const bool ok = ForEachSub(chunk, [&](uint32_t id, IffCursor& sub) {
        switch (id) {
        case FourCC("TYPE"): return sub.U2(envelope.type);
        case FourCC("PRE "): return sub.U2(envelope.preBehaviour);
        case FourCC("POST"): return sub.U2(envelope.postBehaviour);
        case FourCC("NAME"): return sub.S0(envelope.name);
        case FourCC("KEY "): {
            LwEnvelopeKey& key = envelope.keys.emplace_back();
            return sub.F4(key.time) && sub.F4(key.value);
        }
        default: return true;
        }
    });
    if (ok) object.envelopes.push_back(std::move(envelope));
    return ok;
}

bool LwoReader::ReadSurface(IffCursor& chunk) {
    LwSurface surface;
    if (!chunk.S0(surface.name) || !chunk.S0(surface.source)) return false;
    const bool ok = ForEachSub(chunk, [&](uint32_t id, IffCursor& sub) {
        switch (id) {
        case FourCC("COLR"): return sub.Vec12(surface.color);
        case FourCC("LUMI"): return sub.F4(surface.luminosity);
        case FourCC("DIFF"): return sub.F4(surface.diffuse);
        case kSpecularityChunk: return sub.F4(surface.specular);
        case FourCC("REFL"): return sub.F4(surface.reflection);
        case FourCC("TRAN"): return sub.F4(surface.transparency);
        case FourCC("TRNL"): return sub.F4(surface.translucency);
        case FourCC("GLOS"): return sub.F4(surface.glossiness);
        case FourCC("RIND"): return sub.F4(surface.refractionIndex);
        case FourCC("SMAN"): return sub.F4(surface.smoothing);
        case FourCC("SIDE"): return sub.U2(surface.sideFlags);
        case FourCC("BLOK"): return ReadBlock(sub, surface);
        default: return true;
        }
    });
    if (ok) object.surfaces.push_back(std::move(surface));
    return ok;
}

bool LwoReader::ReadBlockHeader(IffCursor& header, LwTexture& texture) {
    if (!header.S0(texture.ordinal)) return false;
    return ForEachSub(header, [&](uint32_t id, IffCursor& sub) {
        uint16_t value = 0;
        switch (id) {
        case FourCC("CHAN"): return sub.U4(texture.channel);
        case FourCC("ENAB"): return sub.U2(value) && ((texture.enabled = value != 0), true);
        case FourCC("NEGA"): return sub.U2(value) && ((texture.negative = value != 0), true);
        case FourCC("OPAC"): return sub.U2(texture.opacityType) && sub.F4(texture.opacity);
        case FourCC("AXIS"): return sub.U2(value) && ((texture.axis = value), true);
        default: return true;
        }
    });
}

bool LwoReader::ReadTextureMap(IffCursor& tmap, LwTexture& texture) {
    return ForEachSub(tmap, [&](uint32_t id, IffCursor& sub) {
        if (id == FourCC("CNTR")) return sub.Vec12(texture.center);
        if (id == FourCC("SIZE")) return sub.Vec12(texture.size);
        if (id == FourCC("ROTA")) return sub.Vec12(texture.rotation);
        return true;
    });
}

bool LwoReader::ReadBlock(IffCursor& block, LwSurface& surface) {
    LwTexture texture;
    IffCursor header(nullptr, 0);
    if (!NextSub(block, texture.type, header) || !ReadBlockHeader(header, texture)) return false;
    const bool ok = ForEachSub(block, [&](uint32_t id, IffCursor& sub) {
        uint16_t value = 0;
        switch (id) {
        case FourCC("TMAP"): return ReadTextureMap(sub, texture);
        case FourCC("PROJ"):
            return sub.U2(value) && ((texture.projection = LwProjection(std::min<uint16_t>(value, 5))), true);
        case FourCC("AXIS"): return sub.U2(value) && ((texture.axis = value), true);
        case FourCC("IMAG"): return sub.VX(texture.clipIndex);
        case FourCC("WRAP"): return sub.U2(texture.wrapWidth) && sub.U2(texture.wrapHeight);
        case FourCC("VMAP"): return sub.S0(texture.vmapName);
        case FourCC("FUNC"): return sub.S0(texture.procedure);
        default: return true;
        }
    });
    if (ok) surface.textures.push_back(std::move(texture));
    return ok;
}

// LWOB surfaces: fixed-point shading values and textures started by a texture
// type chunk (CTEX and its siblings), to which the T... chunks that follow apply.
bool LwoReader::ReadOldSurface(IffCursor& chunk) {
    LwSurface surface;
    if (!chunk.S0(surface.name)) return false;
    const bool ok =
        ForEachSub(chunk, [&](uint32_t id, IffCursor& sub) { return ReadOldSurfaceField(id, sub, surface); });
    if (ok) object.surfaces.push_back(std::move(surface));
    return ok;
}

bool LwoReader::ReadOldSurfaceField(uint32_t id, IffCursor& sub, LwSurface& surface) {
    static const struct {
        uint32_t id;
        uint32_t channel;
    } kTextureChannels[] = {{FourCC("CTEX"), FourCC("COLR")}, {FourCC("DTEX"), FourCC("DIFF")}, {FourCC("STEX"), kSpecularityChunk},
                            {FourCC("RTEX"), FourCC("REFL")}, {FourCC("TTEX"), FourCC("TRAN")}, {FourCC("LTEX"), FourCC("LUMI")},
                            {FourCC("BTEX"), FourCC("BUMP")}};
    for (const auto& entry : kTextureChannels) {
        if (id != entry.id) continue;
        LwTexture texture;
        texture.channel = entry.channel;
        if (!sub.S0(texture.procedure)) return false;
        static const char* const kProjections[] = {"Planar Image Map", "Cylindrical Image Map",
                                                   "Spherical Image Map", "Cubic Image Map",
                                                   "Front Projection Image Map"};
        texture.type = FourCC("PROC");
        for (int p = 0; p < 5; ++p) {
            if (texture.procedure == kProjections[p]) {
                texture.type = FourCC("IMAP");
                texture.projection = LwProjection(p);
            }
        }
        surface.textures.push_back(std::move(texture));
        return true;
    }
    uint8_t rgb[4];
    uint16_t value;
    LwTexture* texture = surface.textures.empty() ? nullptr : &surface.textures.back();
    switch (id) {
    case FourCC("COLR"):
        if (!sub.U1(rgb[0]) || !sub.U1(rgb[1]) || !sub.U1(rgb[2])) return false;
        for (int i = 0; i < 3; ++i) surface.color[i] = rgb[i] / 255.0f;
        return true;
    case FourCC("FLAG"):
        if (!sub.U2(value)) return false;
        surface.sideFlags = (value & 0x100) ? 3 : 1;
        return true;
    case FourCC("LUMI"): return sub.U2(value) && ((surface.luminosity = value / 256.0f), true);
    case FourCC("DIFF"): return sub.U2(value) && ((surface.diffuse = value / 256.0f), true);
    case kSpecularityChunk: return sub.U2(value) && ((surface.specular = value / 256.0f), true);
    case FourCC("REFL"): return sub.U2(value) && ((surface.reflection = value / 256.0f), true);
    case FourCC("TRAN"): return sub.U2(value) && ((surface.transparency = value / 256.0f), true);
    case FourCC("VLUM"): return sub.F4(surface.luminosity);
    case FourCC("VDIF"): return sub.F4(surface.diffuse);
    case FourCC("VSPC"): return sub.F4(surface.specular);
    case FourCC("VRFL"): return sub.F4(surface.reflection);
    case FourCC("VTRN"): return sub.F4(surface.transparency);
    case FourCC("GLOS"):
        if (!sub.U2(value)) return false;
        if (value > 0) surface.glossiness = std::log(float(value)) / 20.0f;
        return true;
    case FourCC("RIND"): return sub.F4(surface.refractionIndex);
    case FourCC("SMAN"): return sub.F4(surface.smoothing);
    case FourCC("TFLG"):
        if (!sub.U2(value)) return false;
        if (texture) {
            texture->axis = (value & 2) ? 1 : (value & 4) ? 2 : 0;
            texture->negative = (value & 16) != 0;
        }
        return true;
    case FourCC("TSIZ"): return texture ? sub.Vec12(texture->size) : true;
    case FourCC("TCTR"): return texture ? sub.Vec12(texture->center) : true;
    case FourCC("TIMG"): {
        std::string name;
        if (!sub.S0(name)) return false;
        if (!texture || name.empty() || name == "(none)") return true;
        auto it = std::find_if(object.clips.begin(), object.clips.end(),
                               [&](const LwClip& clip) { return !clip.sequence && clip.stillName == name; });
        if (it == object.clips.end()) {
            LwClip& clip = object.clips.emplace_back();
            clip.index = uint32_t(object.clips.size());
            clip.stillName = name;
            it = object.clips.end() - 1;
        }
        texture->clipIndex = it->index;
        return true;
    }
    default:
        return true;  // TFAL, TVEL, TCLR, TVAL, RIMG and the rest are not used
    }
}

void LwoReader::ResolveSurfaces() {
    // Polygons name their surface through a tag string; a tag without a SURF
    // chunk gets a default surface of that name.
    std::vector<int32_t> tagSurface(object.tags.size(), -1);
    for (size_t t = 0; t < object.tags.size(); ++t) {
        for (size_t s = 0; s < object.surfaces.size(); ++s) {
            if (object.surfaces[s].name == object.tags[t]) {
                tagSurface[t] = int32_t(s);
                break;
            }
        }
    }
    for (LwLayer& layer : object.layers) {
        for (LwPolygon& polygon : layer.polygons) {
            if (polygon.tag < 0 || size_t(polygon.tag) >= object.tags.size()) continue;
            int32_t& surface = tagSurface[size_t(polygon.tag)];
            if (surface < 0) {
                surface = int32_t(object.surfaces.size());
                object.surfaces.emplace_back().name = object.tags[size_t(polygon.tag)];
            }
            polygon.surface = surface;
        }
    }
}

void LwoReader::LinkLayer(LwLayer& layer) {
    for (uint32_t p = 0; p < layer.polygons.size(); ++p) {
        for (const LwPolygonVertex& vertex : layer.polygons[p].vertices) {
            std::vector<uint32_t>& users = layer.points[vertex.index].polygons;
            if (users.empty() || users.back() != p) users.push_back(p);
        }
    }
    for (uint32_t m = 0; m < layer.vmaps.size(); ++m) {
        const LwVMap& map = layer.vmaps[m];
        for (uint32_t e = 0; e < map.points.size(); ++e) {
            if (!map.perPolygon) {
                layer.points[map.points[e]].vmaps.push_back(LwVMapRef{m, e});
                continue;
            }
            for (LwPolygonVertex& vertex : layer.polygons[map.polygons[e]].vertices) {
                if (vertex.index == map.points[e]) vertex.vmaps.push_back(LwVMapRef{m, e});
            }
        }
    }
}

void Normalise(float (&v)[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0 && std::isfinite(length)) {
        for (float& c : v) c /= length;
    } else {
        v[0] = v[1] = v[2] = 0;
    }
}

void LwoReader::ComputeNormals(LwLayer& layer) {
    for (LwPolygon& polygon : layer.polygons) {
        if (polygon.vertices.size() < 3) continue;
        const float* p0 = layer.points[polygon.vertices[0].index].position;
        const float* p1 = layer.points[polygon.vertices[1].index].position;
        const float* pn = layer.points[polygon.vertices.back().index].position;
        const float a[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const float b[3] = {pn[0] - p0[0], pn[1] - p0[1], pn[2] - p0[2]};
        polygon.normal[0] = a[1] * b[2] - a[2] * b[1];
        polygon.normal[1] = a[2] * b[0] - a[0] * b[2];
        polygon.normal[2] = a[0] * b[1] - a[1] * b[0];
        Normalise(polygon.normal);
    }
    // A corner's normal averages the normals of the polygons around its point
    // that lie within the surface's smoothing angle of its own polygon.
    for (LwPolygon& polygon : layer.polygons) {
        const float smoothing =
            polygon.surface >= 0 ? object.surfaces[size_t(polygon.surface)].smoothing : 0.0f;
        const float limit = std::cos(smoothing);
        for (LwPolygonVertex& vertex : polygon.vertices) {
            std::copy(polygon.normal, polygon.normal + 3, vertex.normal);
            if (smoothing <= 0) continue;
            const std::vector<uint32_t>& users = layer.points[vertex.index].polygons;
            const size_t count = std::min(users.size(), kSmoothingNeighbourLimit);
            for (size_t i = 0; i < count; ++i) {
                const LwPolygon& other = layer.polygons[users[i]];
                if (&other == &polygon) continue;
                const float dot = other.normal[0] * polygon.normal[0] + other.normal[1] * polygon.normal[1] +
                                  other.normal[2] * polygon.normal[2];
                if (dot < limit) continue;
                for (int c = 0; c < 3; ++c) vertex.normal[c] += other.normal[c];
            }
            Normalise(vertex.normal);
        }
    }
}

void LwoReader::Finish() {
    ResolveSurfaces();
    for (LwLayer& layer : object.layers) {
        LinkLayer(layer);
        ComputeNormals(layer);
    }
}

}  // namespace

const LwVMap* LwLayer::FindVMap(uint32_t type, const std::string& mapName, bool perPolygon) const {
    for (const LwVMap& map : vmaps) {
        if (map.type == type && map.name == mapName && map.perPolygon == perPolygon) return &map;
    }
    return nullptr;
}

const char* LwTexture::TypeName() const {
    switch (type) {
    case FourCC("IMAP"): return "Image Map";
    case FourCC("PROC"): return "Procedural Texture";
    case FourCC("GRAD"): return "Gradient";
    case FourCC("SHDR"): return "Shader Plugin";
    default: return "Unknown";
    }
}

const char* LwTexture::ProjectionName() const {
    static const char* const kNames[] = {"Planar", "Cylindrical", "Spherical", "Cubic", "Front", "UV"};
    const int32_t index = int32_t(projection);
    return index >= 0 && index < 6 ? kNames[index] : "Unknown";
}

const LwTexture* LwSurface::FirstUvImageMap() const {
    for (const LwTexture& texture : textures) {
        if (texture.type == FourCC("IMAP") && texture.projection == LwProjection::UV)
            return &texture;
    }
    return nullptr;
}

const LwClip* LwObject::FindClip(uint32_t index) const {
    for (const LwClip& clip : clips) {
        if (clip.index == index) return &clip;
    }
    return nullptr;
}

Result<LwObject> ReadLwObject(const uint8_t* data, size_t size) {
    LwoReader reader;
    if (!reader.Read(data, size)) {
        // The chunk ID comes from the file: only its printable characters are shown.
        std::string id = FourCCText(reader.failId);
        for (char& c : id) c = (c >= ' ' && c <= '~') ? c : '?';
        return Fail("not a readable LightWave object: chunk '" + id + "' is cut short or damaged at byte " +
                    std::to_string(reader.failPosition));
    }
    return std::move(reader.object);
}

Result<LwObject> ReadLwObjectFile(const std::string& path) {
    auto bytes = ReadFileBytes(path, kMaxModelFileBytes);
    if (!bytes) return std::move(bytes).TakeError();
    return ReadLwObject(bytes->data(), bytes->size());
}

}  // namespace tamber::models
