#include "terrain/editor/DetailTextureImages.h"

#include "images/MediaFile.h"

namespace tamber::terrain::painting {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::terrain;

Result<DetailTexture> MakeDetailTexture(std::vector<uint8_t> rgb, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxDetailTextureSide || height > kMaxDetailTextureSide ||
        !IsPowerOfTwo(uint32_t(width)) || !IsPowerOfTwo(uint32_t(height)))
        return Fail(kNotPowerOfTwoMessage);
    if (rgb.size() != size_t(width) * size_t(height) * 3)
        return Fail(kLoadFailedMessage);
    DetailTexture texture;
    texture.width = uint32_t(width), texture.height = uint32_t(height);
    texture.pixels = std::move(rgb);
    return texture;
}

Result<DetailTexture> DetailTextureFromImage(Image image) {
    if (image.format != kPixelRGB)
        return Fail(kNotRgbMessage);
    return MakeDetailTexture(std::move(image.pixels), image.width, image.height);
}

Result<DetailTexture> ImportDetailTexture(const std::string& path) {
    MediaFile file(path);
    file.kind = kMediaImage;
    if (!LoadImage(file))
        return Fail(kLoadFailedMessage);
    return DetailTextureFromImage(std::move(file.image));
}

Status ExportDetailTexture(const DetailTexture& texture, const std::string& path) {
    MediaFile file(path);
    if (!CreateImage(file.image, int32_t(texture.width), int32_t(texture.height), kPixelRGB) ||
        texture.pixels.size() != file.image.pixels.size())
        return Fail(kWriteFailedMessage);
    file.image.pixels = texture.pixels;
    if (!SaveImage(file))
        return Fail(kWriteFailedMessage);
    return Ok();
}

}  // namespace tamber::terrain::painting
