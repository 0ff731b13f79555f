#include "models/LwoWriter.h"

#include <cassert>
#include <random>
#include <set>

#include "images/MediaFile.h"
#include "models/IffWriter.h"
#include "platform/fs/FileBytes.h"
#include "tags/FourCC.h"
#include "tags/TagHeader.h"

namespace tamber::models {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::images;
using namespace tamber::tags;

namespace {

constexpr uint32_t kMaxIndex = 0x00FFFFFF;  // largest variable-length index
const char kUvMapName[] = "UVMap";

bool ModelFits(const Model& model) {
    if (model.vertices.size() > kMaxIndex || model.triangles.size() > kMaxIndex || model.materials.size() > 0xFFFF)
        return false;
    for (const ModelTriangle& triangle : model.triangles) {
        if (triangle.material >= model.materials.size()) return false;
        for (const ModelCorner& corner : triangle.corners) {
            if (corner.vertex >= model.vertices.size()) return false;
        }
    }
    return true;
}

// One image file name per material ("" when it has no texture), unique among them.
std::vector<std::string> ImageNames(const Model& model) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const ModelMaterial& material : model.materials) {
        if (!material.HasTexture()) {
            names.emplace_back();
            continue;
        }
        const std::string stem = TagFileName(material.name);
        std::string name = stem + ".png";
        for (int n = 2; taken.count(name); ++n) name = stem + "_" + std::to_string(n) + ".png";
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

// Stops at the first texture that cannot be written, so no object file refers to
// a missing image.
Status WriteImages(const Model& model, const std::vector<std::string>& names, const std::string& folder) {
    assert(names.size() == model.materials.size());
    for (size_t i = 0; i < model.materials.size(); ++i) {
        if (names[i].empty()) continue;
        const std::string path = folder + "/" + names[i];
        auto png = EncodeImage(model.materials[i].texture, kFormatPng);
        if (!png)
            return Fail("couldn't encode the texture of material '" + model.materials[i].name + "' as '" + path +
                        "': " + png.error());
        Status written = WriteFileAtomically(path, png->data(), png->size());
        if (!written) return Fail("couldn't write the texture '" + path + "': " + written.error());
    }
    return Ok();
}

void WriteGeometry(IffWriter& out, const Model& model) {
    out.BeginChunk(FourCC("LAYR"));
    out.U2(0);
    out.U2(0);
    for (int i = 0; i < 3; ++i) out.F4(0);
    out.S0("");
    out.End();

    out.BeginChunk(FourCC("PNTS"));
    for (const ModelVertex& vertex : model.vertices) {
        out.F4(-vertex.position[0]);
        out.F4(vertex.position[1]);
        out.F4(vertex.position[2]);
    }
    out.End();

    out.BeginChunk(FourCC("POLS"));
    out.U4(FourCC("FACE"));
    for (const ModelTriangle& triangle : model.triangles) {
        out.U2(3);
        for (const ModelCorner& corner : triangle.corners) out.VX(corner.vertex);
    }
    out.End();

    out.BeginChunk(FourCC("PTAG"));
    out.U4(FourCC("SURF"));
    for (uint32_t p = 0; p < model.triangles.size(); ++p) {
        out.VX(p);
        out.U2(uint16_t(model.triangles[p].material));
    }
    out.End();

    out.BeginChunk(FourCC("VMAD"));
    out.U4(FourCC("TXUV"));
    out.U2(2);
    out.S0(kUvMapName);
    for (uint32_t p = 0; p < model.triangles.size(); ++p) {
        for (const ModelCorner& corner : model.triangles[p].corners) {
            out.VX(corner.vertex);
            out.VX(p);
            out.F4(corner.u);
            out.F4(1.0f - corner.v);
        }
    }
    out.End();
}

bool WriteSurface(IffWriter& out, const ModelMaterial& material, uint32_t clipIndex, std::minstd_rand& random) {
    out.BeginChunk(FourCC("SURF"));
    out.S0(material.name);
    out.S0("");
    out.BeginSub(FourCC("COLR"));
    std::uniform_real_distribution<float> shade(0.25f, 1.0f);
    for (int i = 0; i < 3; ++i) out.F4(shade(random));
    out.VX(0);
    out.End();
    out.BeginSub(FourCC("SIDE"));
    out.U2(1);
    out.End();
    // Every surface gets its image block; one without a texture refers to no
    // clip (index 0) and is disabled.
    out.BeginSub(FourCC("BLOK"));
    out.BeginSub(FourCC("IMAP"));
    out.S0("\x80");
    out.BeginSub(FourCC("CHAN"));
    out.U4(FourCC("COLR"));
    out.End();
    out.BeginSub(FourCC("ENAB"));
    out.U2(clipIndex ? 1 : 0);
    out.End();
    out.BeginSub(FourCC("NEGA"));
    out.U2(0);
    out.End();
    out.End();  // IMAP
    out.BeginSub(FourCC("PROJ"));
    out.U2(5);  // UV
    out.End();
    out.BeginSub(FourCC("IMAG"));
    out.VX(clipIndex);
    out.End();
    out.BeginSub(FourCC("VMAP"));
    out.S0(kUvMapName);
    out.End();
    const bool blockFits = out.End();  // BLOK
    const bool surfaceFits = out.End();
    return blockFits && surfaceFits;
}

}  // namespace

std::vector<std::string> LwoImageFileNames(const Model& model) { return ImageNames(model); }

Status WriteLwoModel(const Model& model, const std::string& folder, const std::string& baseName) {
    if (!ModelFits(model))
        return Fail("the model has more points, triangles or materials than a LightWave object can index");
    const std::vector<std::string> imageNames = ImageNames(model);
    if (Status images = WriteImages(model, imageNames, folder); !images) return images;

    IffWriter out;
    out.BeginChunk(FourCC("FORM"));
    out.U4(FourCC("LWO2"));
    out.BeginChunk(FourCC("TAGS"));
    for (const ModelMaterial& material : model.materials) out.S0(material.name);
    out.End();
    WriteGeometry(out, model);

    std::vector<uint32_t> clipOfMaterial(model.materials.size(), 0);
    uint32_t nextClip = 1;
    for (size_t i = 0; i < model.materials.size(); ++i) {
        if (imageNames[i].empty()) continue;
        clipOfMaterial[i] = nextClip++;
        out.BeginChunk(FourCC("CLIP"));
        out.U4(clipOfMaterial[i]);
        out.BeginSub(FourCC("STIL"));
        out.S0(imageNames[i]);
        if (!out.End()) return Fail("the image name '" + imageNames[i] + "' is too long for a LightWave object");
        out.End();
    }
    std::minstd_rand random(1);
    for (size_t i = 0; i < model.materials.size(); ++i) {
        if (!WriteSurface(out, model.materials[i], clipOfMaterial[i], random))
            return Fail("the material '" + model.materials[i].name + "' is too large for a LightWave object");
    }
    out.End();  // FORM
    const std::vector<uint8_t>& bytes = out.Bytes();
    // A base name that could leave the folder is made safe; any other is kept whole.
    const bool safe = !baseName.empty() && baseName != "." && baseName != ".." && baseName.find('/') == std::string::npos;
    const std::string path = folder + "/" + (safe ? baseName : TagFileName(baseName)) + ".lwo";
    Status written = WriteFileAtomically(path, bytes.data(), bytes.size());
    if (!written) return Fail("couldn't write '" + path + "': " + written.error());
    return Ok();
}

}  // namespace tamber::models
