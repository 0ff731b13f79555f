// Tokenizes and parses arbitrary text as a 3D Metafile and converts what parses.
#include <cstdint>
#include <vector>

#include "models/3DMFModel.h"
#include "models/ModelFrom3DMF.h"

using namespace tamber::models;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back(0);
    TextTokenizer tokenizer;
    tokenizer.Tokenize(buffer.data(), size);
    x3DMFParser parser;
    if (!parser.Parse(tokenizer.Tokens())) return 0;
    Model model = ModelFromParsedMeshes(parser.Meshes());
    for (const ModelTriangle& triangle : model.triangles) {
        for (const ModelCorner& corner : triangle.corners) {
            if (corner.vertex >= model.vertices.size()) __builtin_trap();
        }
    }
    return 0;
}
