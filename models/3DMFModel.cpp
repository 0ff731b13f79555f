#include "models/3DMFModel.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "models/Model.h"
#include "platform/fs/FileBytes.h"

namespace tamber::models {
using namespace tamber::base;
using namespace tamber::platform;

// Expects a keyword, naming the parsing operation and this source line in the message.
#define EXPECT_KEYWORD(keyword, function) Expect(keyword, "x3DMFParser::" function, __LINE__)

void x3DMFParser::SetError(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    error_ = text;
}

const Token* x3DMFParser::Take() {
    if (remaining_ == 0) return nullptr;
    --remaining_;
    return next_++;
}

const Token* x3DMFParser::TakeValue() {
    const Token* token = Take();
    if (!token) SetError("unexpected EOF.");
    return token;
}

bool x3DMFParser::FailAt(const Token& token, const char* expected) {
    SetError("line %d col %d: found '%s'; expected %s", int(token.line), int(token.column), token.text, expected);
    return false;
}

bool x3DMFParser::ReadInteger(int32_t& value) {
    const Token* token = TakeValue();
    if (!token) return false;
    // Like "%d": optional sign, then digits; trailing characters are ignored.
    const char* text = token->text;
    const char* digits = (*text == '+' || *text == '-') ? text + 1 : text;
    if (*digits < '0' || *digits > '9') return FailAt(*token, "<integer>");
    errno = 0;
    long long parsed = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) return FailAt(*token, "<integer>");
    value = int32_t(parsed);
    return true;
}

bool x3DMFParser::ReadDouble(float& value) {
    const Token* token = TakeValue();
    if (!token) return false;
    char* end = nullptr;
    double parsed = std::strtod(token->text, &end);
    if (end == token->text) return FailAt(*token, "<double>");
    value = float(parsed);
    return true;
}

bool x3DMFParser::ReadBoolean(bool& value) {
    const Token* token = TakeValue();
    if (!token) return false;
    if (std::strcmp(token->text, "False") == 0) {
        value = false;
    } else if (std::strcmp(token->text, "True") == 0) {
        value = true;
    } else {
        return FailAt(*token, "'True' or 'False'");
    }
    return true;
}

bool x3DMFParser::Expect(const char* keyword, const char* function, int sourceLine) {
    const Token* token = Take();
    if (!token) {
        SetError("unexpected EOF; expected '%s'", keyword);
        return false;
    }
    if (std::strcmp(token->text, keyword) != 0) {
        SetError("in '%s' at %s:%d:\nline %d col %d: found '%s'; expected '%s'", function, "3DMFModel", sourceLine,
                 int(token->line), int(token->column), token->text, keyword);
        return false;
    }
    return true;
}

bool x3DMFParser::NextIs(const char* keyword) const {
    return remaining_ > 0 && std::strcmp(next_->text, keyword) == 0;
}

bool x3DMFParser::Parse(const std::vector<Token>& tokens) {
    next_ = tokens.data();
    remaining_ = tokens.size();
    meshes_.clear();
    current_ = nullptr;
    error_.clear();
    return parse3DMetaFile();
}

bool x3DMFParser::parse3DMetaFile() {
    if (!EXPECT_KEYWORD("3DMetafile", "parse3DMetaFile")) return false;
    while (remaining_ > 0) {
        if (NextIs("TriMesh")) {
            meshes_.emplace_back();
            current_ = &meshes_.back();
            if (!parseTriMesh()) return false;
        } else if (NextIs("AttributeArray") && current_) {
            if (!parseAttributeArray()) return false;
        } else if (NextIs("PixmapTexture") && current_) {
            if (!parsePixmapTexture()) return false;
        } else {
            // Headers, containers, groups, shaders, references and objects of data
            // that belongs to no mesh yet are skipped token by token.
            Take();
        }
    }
    return true;
}

bool x3DMFParser::parseTriMesh() {
    if (!EXPECT_KEYWORD("TriMesh", "parseTriMesh") || !EXPECT_KEYWORD("(", "parseTriMesh")) return false;
    int32_t counts[6];
    for (int32_t& count : counts) {
        if (!ReadInteger(count)) return false;
    }
    const int32_t triangleCount = counts[0];
    const int32_t pointCount = counts[4];
    // Never reserve more than the remaining tokens can fill.
    if (triangleCount > 0) current_->triangles.reserve(std::min<size_t>(size_t(triangleCount), remaining_ / 3));
    for (int32_t i = 0; i < triangleCount; ++i) {
        std::array<int32_t, 3> triangle;
        for (int32_t& index : triangle) {
            if (!ReadInteger(index)) return false;
        }
        std::swap(triangle[1], triangle[2]);  // reverse the winding
        current_->triangles.push_back(triangle);
    }
    if (pointCount > 0) current_->points.reserve(std::min<size_t>(size_t(pointCount), remaining_ / 3));
    for (int32_t i = 0; i < pointCount; ++i) {
        std::array<float, 3> point;
        for (float& coordinate : point) {
            if (!ReadDouble(coordinate)) return false;
        }
        current_->points.push_back(point);
    }
    float bounds[6];
    for (float& bound : bounds) {
        if (!ReadDouble(bound)) return false;
    }
    bool empty = false;
    if (!ReadBoolean(empty)) return false;
    return EXPECT_KEYWORD(")", "parseTriMesh");
}

namespace {

// Reads `count` groups of N values; reserves no more than the remaining tokens can fill.
template <size_t N, class Read>
bool ReadArray(size_t count, size_t remaining, std::vector<std::array<float, N>>& out, Read read) {
    out.clear();
    out.reserve(std::min(count, remaining / N));
    for (size_t i = 0; i < count; ++i) {
        std::array<float, N> values;
        for (float& value : values) {
            if (!read(value)) return false;
        }
        out.push_back(values);
    }
    return true;
}

}  // namespace

bool x3DMFParser::parseAttributeArray() {
    const uint32_t line = next_->line;
    if (!EXPECT_KEYWORD("AttributeArray", "parseAttributeArray") || !EXPECT_KEYWORD("(", "parseAttributeArray"))
        return false;
    int32_t header[5];  // type, reserved, position of the array, position in the array, use flag
    for (int32_t& value : header) {
        if (!ReadInteger(value)) return false;
    }
    const int32_t type = header[0];
    const int32_t position = header[2];
    const size_t triangles = current_->triangles.size();
    const size_t points = current_->points.size();
    auto read = [this](float& value) { return ReadDouble(value); };
    if (type == 2 && position == 2) {
        if (!ReadArray<2>(points, remaining_, current_->textureCoords, read)) return false;
        for (auto& uv : current_->textureCoords) uv[1] = 1.0f - uv[1];
    } else if (type == 3 && position == 0) {
        if (!ReadArray<3>(triangles, remaining_, current_->triangleNormals, read)) return false;
    } else if (type == 3 && position == 2) {
        std::vector<std::array<float, 3>> dropped;
        if (!ReadArray<3>(points, remaining_, dropped, read)) return false;
    } else {
        SetError("AttributeArray at line %d: unknown attribute/geometry type combination %d:%d", int(line), type,
                 position);
        return false;
    }
    return EXPECT_KEYWORD(")", "parseAttributeArray");
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits; false when one is not a digit.
bool ParseHex(const char* text, int digits, uint32_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) return false;
        value = (value << 4) | uint32_t(digit);
    }
    return true;
}

bool IsHex128(const Token& token) {
    if (token.length != 34 || token.text[0] != '0' || (token.text[1] != 'x' && token.text[1] != 'X')) return false;
    uint32_t unused;
    for (int i = 0; i < 4; ++i) {
        if (!ParseHex(token.text + 2 + 8 * i, 8, unused)) return false;
    }
    return true;
}

}  // namespace

// Decodes one 16-byte data token into the pixels from `pixel` on; a malformed
// token is recorded and its pixels stay zero.
bool x3DMFParser::ReadPixelData(const Token& token, bool argb32, size_t& pixel) {
    const size_t perToken = argb32 ? 4 : 8;
    const size_t pixelCount = current_->pixmap.pixels.size() / 4;
    if (!IsHex128(token)) {
        FailAt(token, "<128 bit hex constant>");
        pixel += perToken;
        return false;
    }
    for (size_t i = 0; i < perToken; ++i, ++pixel) {
        if (pixel >= pixelCount) continue;
        uint8_t* out = &current_->pixmap.pixels[pixel * 4];
        uint32_t value = 0;
        if (argb32) {
            ParseHex(token.text + 2 + 8 * i, 8, value);
            out[0] = uint8_t(value >> 16);
            out[1] = uint8_t(value >> 8);
            out[2] = uint8_t(value);
            out[3] = uint8_t(value >> 24);
        } else {
            ParseHex(token.text + 2 + 4 * i, 4, value);
            out[0] = uint8_t(((value >> 10) & 31) << 3);
            out[1] = uint8_t(((value >> 5) & 31) << 3);
            out[2] = uint8_t((value & 31) << 3);
            out[3] = 255;
        }
    }
    return true;
}

bool x3DMFParser::parsePixmapTexture() {
    const uint32_t line = next_->line;
    if (!EXPECT_KEYWORD("PixmapTexture", "parsePixmapTexture") || !EXPECT_KEYWORD("(", "parsePixmapTexture"))
        return false;
    int32_t width, height, rowBytes, pixelSize;
    if (!ReadInteger(width) || !ReadInteger(height) || !ReadInteger(rowBytes) || !ReadInteger(pixelSize))
        return false;
    const Token* pixelType = TakeValue();
    if (!pixelType) return false;
    const bool argb32 = std::strcmp(pixelType->text, "ARGB32") == 0;
    const bool rgb16 = std::strcmp(pixelType->text, "RGB16") == 0;
    if (!argb32 && !rgb16) SetError("PixmapTexture at line %d: unknown pixel type '%s'", int(line), pixelType->text);
    if (!EXPECT_KEYWORD("BigEndian", "parsePixmapTexture") || !EXPECT_KEYWORD("BigEndian", "parsePixmapTexture"))
        return false;
    // Every pixel takes at least two bytes of data, so a size the data cannot
    // hold is refused before anything is allocated for it.
    const uint64_t dataBytes = (width < 0 || height < 0 || rowBytes < 0) ? 0 : uint64_t(rowBytes) * uint64_t(height);
    if (width < 0 || height < 0 || rowBytes < 0 || uint64_t(width) * uint64_t(height) * 2 > dataBytes + 15) {
        SetError("PixmapTexture at line %d: invalid size %dx%d", int(line), width, height);
        return false;
    }
    const uint64_t dataTokens = (dataBytes + 15) / 16;
    if (dataTokens > remaining_) {
        SetError("unexpected EOF.");
        return false;
    }
    ParsedPixmap& pixmap = current_->pixmap;
    pixmap.width = uint32_t(width);
    pixmap.height = uint32_t(height);
    pixmap.pixels.assign(size_t(width) * size_t(height) * 4, 0);
    size_t pixel = 0;
    for (uint64_t i = 0; i < dataTokens; ++i) {
        const Token* token = Take();
        if (argb32 || rgb16) ReadPixelData(*token, argb32, pixel);
    }
    return EXPECT_KEYWORD(")", "parsePixmapTexture");
}

Result<std::vector<ParsedMesh>> Read3DMFFile(const std::string& path, std::string* warning) {
    auto bytes = ReadFileBytes(path, kMaxModelFileBytes);
    if (!bytes) return Fail("Input file failed to open. " + bytes.error());
    const size_t size = bytes->size();
    bytes->push_back(0);
    TextTokenizer tokenizer;
    tokenizer.Tokenize(reinterpret_cast<char*>(bytes->data()), size);
    x3DMFParser parser;
    if (!parser.Parse(tokenizer.Tokens())) return Fail(parser.Error());
    if (warning) *warning = parser.Error();
    return std::move(parser.Meshes());
}

}  // namespace tamber::models
