#include "images/PixelConvert.h"

namespace tamber::images {

namespace {

bool IsKnown(uint32_t format) {
    return format == kPixelPaletted || format == kPixelGrey || format == kPixelRGB || format == kPixelRGBA ||
           format == kPixelPalettedAlpha;
}

// Expands any known format to RGBA; paletted pixels go through the palette.
bool ToRGBA(Image& image) {
    Image result;
    if (!CreateImage(result, image.width, image.height, kPixelRGBA))
        return false;
    const uint8_t* src = image.pixels.data();
    uint8_t* dst = result.pixels.data();
    size_t count = image.PixelCount();
    const uint8_t* palette = image.palette.size() >= 768 ? image.palette.data() : nullptr;
    static const uint8_t kBlack[3] = {0, 0, 0};
    for (size_t i = 0; i < count; ++i, dst += 4) {
        switch (image.format) {
        case kPixelGrey:
            dst[0] = dst[1] = dst[2] = src[i];
            dst[3] = 255;
            break;
        case kPixelRGB:
            dst[0] = src[i * 3];
            dst[1] = src[i * 3 + 1];
            dst[2] = src[i * 3 + 2];
            dst[3] = 255;
            break;
        case kPixelRGBA:
            std::copy(src + i * 4, src + i * 4 + 4, dst);
            break;
        default: {  // paletted, with or without alpha
            bool alpha = image.format == kPixelPalettedAlpha;
            uint8_t index = alpha ? src[i * 2 + 1] : src[i];
            const uint8_t* rgb = palette ? palette + index * 3 : kBlack;
            dst[0] = rgb[0];
            dst[1] = rgb[1];
            dst[2] = rgb[2];
            dst[3] = alpha ? src[i * 2] : 255;
        }
        }
    }
    image = std::move(result);
    return true;
}

// RGBA to RGB or grey.
bool FromRGBA(Image& image, uint32_t target) {
    Image result;
    if (!CreateImage(result, image.width, image.height, target))
        return false;
    size_t count = image.PixelCount();
    const uint8_t* src = image.pixels.data();
    uint8_t* dst = result.pixels.data();
    for (size_t i = 0; i < count; ++i, src += 4) {
        if (target == kPixelGrey) {
            dst[i] = Luminance(src[0], src[1], src[2]);
        } else {
            dst[i * 3] = src[0];
            dst[i * 3 + 1] = src[1];
            dst[i * 3 + 2] = src[2];
        }
    }
    image = std::move(result);
    return true;
}

// Between the two paletted layouts, or from grey with the grey ramp: no colour changes.
bool ToPalettedExactly(Image& image, uint32_t target) {
    Image result;
    if (!CreateImage(result, image.width, image.height, target))
        return false;
    if (image.format == kPixelGrey) {
        uint8_t ramp[768];
        for (int i = 0; i < 768; ++i)
            ramp[i] = uint8_t(i / 3);
        SetPalette(result, 256, ramp);
    } else {
        result.palette = image.palette;
        result.paletteCount = image.paletteCount;
        if (result.palette.size() != 768)
            result.palette.assign(768, 0);
    }
    size_t count = image.PixelCount();
    size_t srcStride = BytesPerPixel(image.format);
    const uint8_t* src = image.pixels.data() + (image.format == kPixelPalettedAlpha ? 1 : 0);
    uint8_t* dst = result.pixels.data();
    for (size_t i = 0; i < count; ++i) {
        if (target == kPixelPalettedAlpha) {
            dst[i * 2] = 255;
            dst[i * 2 + 1] = src[i * srcStride];
        } else {
            dst[i] = src[i * srcStride];
        }
    }
    image = std::move(result);
    return true;
}

}  // namespace

bool Convert(Image& image, uint32_t target) { return Convert(image, target, PaletteReduction()); }

bool Convert(Image& image, uint32_t target, const PaletteReduction& reduction) {
    if (!IsKnown(image.format) || !IsKnown(target) || image.pixels.size() != image.PixelCount() * BytesPerPixel(image.format))
        return false;
    if (image.format == target)
        return true;
    bool palettedTarget = target == kPixelPaletted || target == kPixelPalettedAlpha;
    if (palettedTarget && (image.IsPaletted() || image.format == kPixelGrey))
        return ToPalettedExactly(image, target);
    // Through RGBA on a copy, so a failure leaves the image as it was.
    Image work = image;
    if (work.format != kPixelRGBA && !ToRGBA(work))
        return false;
    bool ok = palettedTarget ? ReducePalette(work, target, reduction) : target == kPixelRGBA || FromRGBA(work, target);
    if (ok)
        image = std::move(work);
    return ok;
}

}  // namespace tamber::images
