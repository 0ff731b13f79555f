#pragma once
// Detail textures to and from image files and clipboard images, with the messages
// the editors show when an image cannot become a detail texture.
#include <string>

#include "base/Result.h"
#include "images/Image.h"
#include "terrain/DetailTexture.h"

namespace tamber::terrain::painting {

constexpr const char* kNotRgbMessage = "Image must be 24 bit RGB.";
constexpr const char* kNotPowerOfTwoMessage = "The texture must have dimensions that are powers of two.";
constexpr const char* kLoadFailedMessage = "Failed to load image data.";
constexpr const char* kWriteFailedMessage = "The file could not be written.";
// The largest side a detail texture stream holds.
constexpr int kMaxDetailTextureSide = 4096;

// The RGB pixels of width x height as a detail texture; refused unless both sides
// are powers of two no larger than kMaxDetailTextureSide.
base::Result<DetailTexture> MakeDetailTexture(std::vector<uint8_t> rgb, int width, int height);
// An image as a detail texture: refused unless 24-bit RGB with power-of-two sides.
base::Result<DetailTexture> DetailTextureFromImage(images::Image image);
// Reads an image file into a detail texture, with the messages above.
base::Result<DetailTexture> ImportDetailTexture(const std::string& path);
// Writes the texture as a 24-bit RGB image in the format of the path's extension.
[[nodiscard]] base::Status ExportDetailTexture(const DetailTexture& texture, const std::string& path);

}  // namespace tamber::terrain::painting
