// The crate is a unit cube with an ARGB32 checker texture; beside it stands a
// pyramid with an RGB16 gradient texture. The metafile wraps them in the usual
// header, container and shader objects that the import skips.
#include "demo/DemoModels.h"

#include <cstdarg>
#include <cstdio>

#include "platform/fs/FileBytes.h"
#include "models/LwoWriter.h"
#include "models/ModelFrom3DMF.h"

namespace tamber::demo {
using namespace tamber::platform;
using namespace tamber::models;

namespace {

void Append(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& text, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    text += line;
}

// Pixel data tokens: 16 bytes each, pixels of `bytes` bytes from `pixel(i)`.
template <class Pixel>
void AppendPixels(std::string& text, int count, int bytes, Pixel pixel) {
    const int perToken = 16 / bytes;
    for (int first = 0; first < count; first += perToken) {
        text += "      0x";
        for (int i = first; i < first + perToken; ++i) Append(text, bytes == 4 ? "%08X" : "%04X", i < count ? pixel(i) : 0u);
        text += "\n";
    }
}

std::string Crate3DMF() {
    std::string text = "3DMetafile ( 1 6 Normal toc0> )\n# A crate and a pyramid for the model import.\n";
    text += "Container (\n  TriMesh (\n    12 0 0 0 8 0\n";
    const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7}, {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
    for (const auto& f : faces) Append(text, "    %d %d %d\n    %d %d %d\n", f[0], f[1], f[2], f[0], f[2], f[3]);
    for (int p = 0; p < 8; ++p) Append(text, "    %d %d %d\n", p & 1 ? 1 : 0, p & 2 ? 1 : 0, p & 4 ? 1 : 0);
    text += "    0 0 0 1 1 1 False\n  )\n  AttributeArray ( 2 0 2 0 0\n";
    for (int p = 0; p < 8; ++p) Append(text, "    %g %g\n", (p & 1) ? 1.0 : 0.0, (p & 2) ? 1.0 : 0.0);
    text += "  )\n  Shader ( 0 )\n  PixmapTexture ( 8 8 32 32 ARGB32 BigEndian BigEndian\n";
    AppendPixels(text, 64, 4, [](int i) { return ((i / 8 + i % 8) & 1) ? 0xFF8B5A2Bu : 0xFFD2A46Bu; });
    text += "  )\n)\nContainer (\n  TriMesh (\n    4 0 0 0 5 0\n";
    text += "    0 1 4\n    1 2 4\n    2 3 4\n    3 0 4\n";
    text += "    2 0 0\n    3 0 0\n    3 0 1\n    2 0 1\n    2.5 1.5 0.5\n    2 0 0 3 1.5 1 False\n  )\n";
    text += "  AttributeArray ( 2 0 2 0 0 0 0 1 0 1 1 0 1 0.5 0.5 )\n";
    text += "  PixmapTexture ( 4 4 8 16 RGB16 BigEndian BigEndian\n";
    AppendPixels(text, 16, 2, [](int i) { return unsigned((i % 4) * 8) << 10 | unsigned((i / 4) * 8) << 5 | 31u; });
    text += "  )\n)\n";
    return text;
}

}  // namespace

base::Status WriteDemoModelFiles(const std::string& folder) {
    const std::string text = Crate3DMF();
    const std::string metafile = folder + "/demo crate.3dmf";
    if (base::Status written = WriteFileAtomically(metafile, reinterpret_cast<const uint8_t*>(text.data()), text.size());
        !written)
        return written;
    base::Result<Model> model = ModelFrom3DMF(metafile);
    if (!model) return std::move(model).TakeError();
    return WriteLwoModel(*model, folder, "demo crate");
}

}  // namespace tamber::demo
