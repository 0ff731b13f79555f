#include "images/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>

namespace tamber::images {
using namespace tamber::base;

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it
// jumps back to ReadJpeg with the message kept here.
struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorJump*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings (corrupt but readable data) are not failures.
void IgnoreMessage(j_common_ptr, int) {}

// Everything the decoder touches between setjmp and a possible longjmp lives
// here, behind one pointer that does not change, so no local's value is lost.
struct Decoding {
    jpeg_decompress_struct info{};
    ErrorJump error{};
    Image image;
    std::string refusal;
};

// CMYK (inverted, as Adobe writes it) to RGB, in place from the front: each
// 3-byte result lands on bytes that have already been read.
void CmykToRgb(std::vector<uint8_t>& pixels, size_t count, bool inverted) {
    for (size_t i = 0; i < count; ++i) {
        int c = pixels[i * 4], m = pixels[i * 4 + 1], y = pixels[i * 4 + 2], k = pixels[i * 4 + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        pixels[i * 3] = uint8_t(c * k / 255);
        pixels[i * 3 + 1] = uint8_t(m * k / 255);
        pixels[i * 3 + 2] = uint8_t(y * k / 255);
    }
    pixels.resize(count * 3);
}

// Decodes with libjpeg; false when it failed (error.message) or the picture
// was refused (refusal).
bool Decode(Decoding& d, const uint8_t* data, size_t size) {
    jpeg_decompress_struct& info = d.info;
    info.err = jpeg_std_error(&d.error.manager);
    d.error.manager.error_exit = JumpOnError;
    d.error.manager.emit_message = IgnoreMessage;
    if (setjmp(d.error.jump)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.num_components == 1;
    info.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    if (uint64_t(info.image_width) * info.image_height > kMaxJpegPixels) {
        d.refusal = "the picture is " + std::to_string(info.image_width) + " x " +
                    std::to_string(info.image_height) + " pixels, more than Tamber reads";
        return false;
    }
    jpeg_start_decompress(&info);
    const size_t width = info.output_width, height = info.output_height;
    const size_t components = size_t(info.output_components);
    if (!CreateImage(d.image, int32_t(width), int32_t(height), grey ? kPixelGrey : kPixelRGB)) {
        d.refusal = "the picture's size is not valid";
        return false;
    }
    d.image.pixels.resize(width * height * components);
    while (info.output_scanline < height) {
        JSAMPROW row = &d.image.pixels[size_t(info.output_scanline) * width * components];
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (cmyk) CmykToRgb(d.image.pixels, width * height, info.saw_Adobe_marker);
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool IsJpeg(const uint8_t* data, size_t size) { return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF; }

Result<Image> ReadJpeg(const uint8_t* data, size_t size) {
    if (!IsJpeg(data, size)) return Fail("not a JPEG file");
    auto d = std::make_unique<Decoding>();
    const bool decoded = Decode(*d, data, size);
    jpeg_destroy_decompress(&d->info);
    if (!decoded) return Fail(d->refusal.empty() ? std::string("damaged JPEG data: ") + d->error.message : d->refusal);
    return std::move(d->image);
}

}  // namespace tamber::images
