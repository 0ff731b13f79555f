#include "collections/ShadowGeneration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "collections/BitmapCrop.h"

namespace tamber::collections {

using namespace tamber::base;

// The projection. The sprite is a flat picture standing upright on the ground at
// its registration point (its feet). A light at 45 degrees of elevation makes a
// point h pixels above the feet fall h pixels away along the ground, and the
// ground direction away from the light appears on screen at 22.5 degrees above
// the x axis, to the right. So a sprite pixel (x, y) lands at
//     u = s * ((x - rx) + h cos 22.5),   v = -s * h sin 22.5,   h = ry - y
// relative to the feet, with s the collection's scale. Each shadow pixel is found
// by inverting this, so the shadow has no holes. The shadow's canvas is centred
// on the feet (frame views draw shadows centred on the origin). Shadows are
// translucent black: alpha 136, the palette entry nearest to black.

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxShadowSide = 4096;
constexpr uint8_t kShadowAlpha = 136;  // 16-bit transparency 7
constexpr double kMinScale = 0.1, kMaxScale = 10.0;

const char* const kLargeShadowCollections[] = {"Myrkyl Giant", "Trow Behemoth"};

uint8_t DarkestEntry(const uint8_t* palette) {
    int best = 1, bestSum = 1 << 30;
    for (int i = 1; i < 256; ++i) {
        const int sum = palette[i * 3] + palette[i * 3 + 1] + palette[i * 3 + 2];
        if (sum < bestSum) {
            best = i;
            bestSum = sum;
        }
    }
    return uint8_t(best);
}

std::shared_ptr<Bitmap> ProjectShadow(const Bitmap& source, int rx, int ry, double scale, uint8_t index) {
    const double c = std::cos(22.5 * kPi / 180.0), s = std::sin(22.5 * kPi / 180.0);
    double reachU = 0, reachV = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const double x = corner & 1 ? source.width : 0, y = corner & 2 ? source.height : 0;
        const double h = ry - y;
        reachU = std::max(reachU, std::abs(scale * ((x - rx) + h * c)));
        reachV = std::max(reachV, std::abs(scale * h * s));
    }
    const int halfW = int(std::ceil(reachU)), halfH = int(std::ceil(reachV));
    const int width = 2 * halfW + 1, height = 2 * halfH + 1;
    if (width > kMaxShadowSide || height > kMaxShadowSide) return nullptr;

    auto shadow = std::make_shared<Bitmap>();
    shadow->width = int16_t(width);
    shadow->height = int16_t(height);
    shadow->flags = kShadowBitmapFlag | kBitmap16Bit | kBitmapRle;
    shadow->pixelSizeCode = 1;
    shadow->pixels.assign(shadow->PixelCount() * kPalettedPixelBytes, 0);
    bool any = false;
    for (int py = 0; py < height; ++py) {
        const double v = py + 0.5 - halfH;  // pixel centres; the feet lie on a pixel corner
        const double h = -v / (scale * s);
        const int y = int(std::floor(ry - h));
        if (y < 0 || y >= source.height) continue;
        for (int px = 0; px < width; ++px) {
            const double u = px + 0.5 - halfW;
            const int x = int(std::floor(rx + u / scale - h * c));
            if (x < 0 || x >= source.width || !IsPixelOpaque(source, size_t(y) * size_t(source.width) + size_t(x)))
                continue;
            uint8_t* pixel = &shadow->pixels[(size_t(py) * size_t(width) + size_t(px)) * kPalettedPixelBytes];
            pixel[0] = kShadowAlpha;
            pixel[1] = index;
            any = true;
        }
    }
    if (!any || !shadow->Encode()) return nullptr;
    return shadow;
}

}  // namespace

double ShadowScaleFor(const std::string& collectionName) {
    for (const char* name : kLargeShadowCollections)
        if (collectionName == name) return 1.6;
    return 1.0;
}

int GenerateShadows(Collection& collection, double scale) {
    // Keeps the projection's arithmetic within the canvas bound.
    scale = std::clamp(scale, kMinScale, kMaxScale);
    const uint8_t index = DarkestEntry(collection.palette.data());
    std::unordered_map<const Bitmap*, std::shared_ptr<Bitmap>> made;  // by source bitmap
    int count = 0;
    for (Sequence& sequence : collection.sequences)
        for (size_t f = 0; f < sequence.frames.size(); ++f) {
            Frame& frame = sequence.frames[f];
            if (frame.views.size() < 4) continue;
            const ViewSet& set = frame.views[3].Shown(collection.displaySet);
            const Bitmap* source = set.bitmap.get();
            if (!source || source->pixels.size() != source->PixelCount() * size_t(source->DecodedPixelBytes()))
                continue;
            std::shared_ptr<Bitmap>& shadow = made[source];
            if (!shadow) {
                shadow = ProjectShadow(*source, set.regX, set.regY, scale, index);
                if (!shadow) continue;
                char name[128];
                std::snprintf(name, sizeof name, "%.50s shadow %02d", sequence.name.c_str(), int(f) % 100);
                shadow->name = name;
                collection.bitmaps.push_back(shadow);
                ++count;
            }
            frame.shadow.bitmap = shadow;
        }
    return count;
}

}  // namespace tamber::collections
