#include "collections/builder/SharedPalette.h"

#include <algorithm>
#include <cassert>

#include "images/ColorHistogram.h"
#include "images/PaletteReducer.h"
#include "images/WuQuantizer.h"

namespace tamber::collections::builder {
using namespace tamber::images;

namespace {

constexpr uint32_t kUsableEntries = 255;  // entries 1 to 255
constexpr int kRefinePasses = 16;

std::vector<uint8_t> UsableEntries(const std::array<uint8_t, 768>& palette) {
    return std::vector<uint8_t>(palette.begin() + 3, palette.end());
}

}  // namespace

std::array<uint8_t, 768> BuildSharedPalette(const std::vector<const Image*>& rgbaImages) {
    // One count per 24-bit colour: a fixed 64 MiB that does not grow with the
    // number of images, touched only where colours occur.
    std::vector<uint32_t> counts(size_t(1) << 24, 0);
    for (const Image* image : rgbaImages) {
        const uint8_t* p = image->pixels.data();
        for (size_t i = 0; i < image->PixelCount(); ++i, p += 4) {
            if (!p[3]) continue;
            uint32_t& count = counts[(uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2]];
            if (count != UINT32_MAX) ++count;
        }
    }
    std::vector<ColorCount> colors;
    for (uint32_t rgb = 0; rgb < counts.size(); ++rgb)
        if (counts[rgb]) colors.push_back({rgb, counts[rgb]});
    counts = {};

    std::vector<uint8_t> entries;
    if (colors.size() > kUsableEntries) entries = WuQuantizer(colors).BuildPalette(kUsableEntries);
    RefinePalette(entries, colors, kUsableEntries, kRefinePasses);
    std::array<uint8_t, 768> palette{};
    std::copy_n(entries.begin(), std::min<size_t>(entries.size(), kUsableEntries * 3), palette.begin() + 3);
    // Unused entries repeat the last colour, so the diffusion never picks black 0.
    for (size_t i = 3 + entries.size(); i + 3 <= palette.size() && !entries.empty(); i += 3)
        std::copy_n(entries.end() - 3, 3, palette.begin() + long(i));
    return palette;
}

std::shared_ptr<Bitmap> MakePalettedBitmap(const Image& rgba, const std::array<uint8_t, 768>& palette,
                                           const std::string& name, bool sixteenBit) {
    assert(rgba.format == kPixelRGBA && rgba.width <= 32767 && rgba.height <= 32767);
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = name.substr(0, 63);
    bitmap->width = int16_t(rgba.width);
    bitmap->height = int16_t(rgba.height);
    bitmap->flags = sixteenBit ? kBitmap16Bit | kBitmapRle : kBitmapRle;
    bitmap->pixelSizeCode = sixteenBit ? 1 : 0;
    bitmap->pixels.assign(rgba.PixelCount() * 2, 0);
    DiffuseToPalette(rgba.pixels.data(), rgba.width, rgba.height, UsableEntries(palette), bitmap->pixels.data() + 1, 2);
    for (size_t i = 0; i < rgba.PixelCount(); ++i) {
        uint8_t* pixel = &bitmap->pixels[i * 2];
        const uint8_t alpha = rgba.pixels[i * 4 + 3];
        const int level = sixteenBit ? (alpha * 15 + 127) / 255 : alpha >= 128 ? 15 : 0;  // 0 clear .. 15 opaque
        if (level == 0) {
            pixel[0] = pixel[1] = 0;  // outside every run
        } else {
            pixel[0] = uint8_t(level * 17);
            pixel[1] = uint8_t(pixel[1] + 1);
        }
    }
    [[maybe_unused]] const base::Status encoded = bitmap->Encode();
    assert(encoded.ok());  // run-length pixels hold any size up to 32767
    return bitmap;
}

}  // namespace tamber::collections::builder
