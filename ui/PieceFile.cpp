#include "ui/PieceFile.h"

#include "ui/LittleEndianReader.h"
#include "platform/fs/FileBytes.h"

namespace tamber::ui {
using namespace tamber::platform;

namespace {
constexpr size_t kHeaderSize = 28;
constexpr size_t kMaxFileSize = size_t(256) << 20;
}  // namespace

std::optional<std::vector<PieceImage>> ParsePieceFile(const uint8_t* data, size_t size) {
    LittleEndianReader in(data, size);
    uint32_t count = in.U32();
    if (!in.Ok() || count > in.Remaining() / kHeaderSize)
        return std::nullopt;
    std::vector<PieceImage> pieces;
    pieces.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        PieceImage piece;
        in.Take(8);
        piece.hotX = in.U16();
        piece.hotY = in.U16();
        piece.width = in.U16();
        piece.height = in.U16();
        in.Take(8);
        piece.id = in.U32();
        const uint8_t* pixels = in.Take(size_t(piece.width) * piece.height * 4);
        if (!pixels)
            return std::nullopt;
        piece.rgba.assign(pixels, pixels + size_t(piece.width) * piece.height * 4);
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::optional<std::vector<PieceImage>> ReadPieceFile(const std::string& path) {
    auto bytes = ReadFileBytes(path, kMaxFileSize);
    if (!bytes)
        return std::nullopt;
    return ParsePieceFile(bytes->data(), bytes->size());
}

std::vector<uint8_t> EncodePieceFile(const std::vector<PieceImage>& pieces) {
    LittleEndianWriter out;
    out.U32(uint32_t(pieces.size()));
    for (const PieceImage& piece : pieces) {
        out.U32(0);
        out.U32(0);
        out.U16(piece.hotX);
        out.U16(piece.hotY);
        out.U16(piece.width);
        out.U16(piece.height);
        out.U32(0);
        out.U32(0);
        out.U32(piece.id);
        out.Append(piece.rgba.data(), size_t(piece.width) * piece.height * 4);
    }
    return std::move(out.Bytes());
}

bool WritePieceFile(const std::string& path, const std::vector<PieceImage>& pieces) {
    for (const PieceImage& piece : pieces)
        if (piece.rgba.size() != size_t(piece.width) * piece.height * 4)
            return false;
    return WriteFileAtomically(path, EncodePieceFile(pieces)).ok();
}

}  // namespace tamber::ui
