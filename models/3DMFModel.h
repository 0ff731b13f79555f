#pragma once
// Reader for the text form of 3D Metafiles: picks triangle meshes, their
// per-vertex texture coordinates, per-triangle normals and pixmap textures out
// of a metafile and skips every other object.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "models/TextTokenizer.h"

namespace tamber::models {

struct ParsedPixmap {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;  // width x height x 4: red, green, blue, alpha
};

struct ParsedMesh {
    std::vector<std::array<int32_t, 3>> triangles;  // point indices
    std::vector<std::array<float, 3>> points;
    std::vector<std::array<float, 3>> triangleNormals;  // one per triangle, or empty
    std::vector<std::array<float, 2>> textureCoords;    // (u, 1 - v) per point, or empty
    ParsedPixmap pixmap;
};

class x3DMFParser {
public:
    // Parses the tokens of a metafile. On failure Error() holds the message; it
    // may also hold a message after success when a malformed pixmap was read on.
    bool Parse(const std::vector<Token>& tokens);

    std::vector<ParsedMesh>& Meshes() { return meshes_; }
    const std::string& Error() const { return error_; }

private:
    bool parse3DMetaFile();
    bool parseTriMesh();
    bool parseAttributeArray();
    bool parsePixmapTexture();

    bool ReadInteger(int32_t& value);
    bool ReadDouble(float& value);
    bool ReadBoolean(bool& value);
    bool Expect(const char* keyword, const char* function, int sourceLine);
    bool NextIs(const char* keyword) const;
    bool ReadPixelData(const Token& token, bool argb32, size_t& pixel);

    const Token* Take();
    // Takes a value token; at the end of the tokens records "unexpected EOF.".
    const Token* TakeValue();
    bool FailAt(const Token& token, const char* expected);
    void SetError(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const Token* next_ = nullptr;
    size_t remaining_ = 0;
    std::vector<ParsedMesh> meshes_;
    ParsedMesh* current_ = nullptr;
    std::string error_;
};

// Reads (a regular file of at most kMaxModelFileBytes), tokenizes and parses a
// metafile. A message the parser recorded while reading on (a malformed pixmap)
// goes to `warning` when given.
base::Result<std::vector<ParsedMesh>> Read3DMFFile(const std::string& path, std::string* warning = nullptr);

}  // namespace tamber::models
