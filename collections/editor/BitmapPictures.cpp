#include "collections/editor/BitmapPictures.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "ui/DrawBatch.h"


namespace tamber::collections::editor {
using namespace tamber::ui;

namespace {

constexpr int kSquare = 8;

void DeleteTexture(uint32_t texture) {
    const GLuint name = texture;
    if (name) glDeleteTextures(1, &name);
}

// RGBA pixels of a paletted bitmap; high-colour bitmaps show their first three bytes.
std::vector<uint8_t> RgbaOf(const Collection& collection, const Bitmap& bitmap) {
    const size_t count = bitmap.PixelCount();
    std::vector<uint8_t> rgba(count * 4);
    if (bitmap.pixels.size() != count * size_t(bitmap.DecodedPixelBytes())) return rgba;
    for (size_t i = 0; i < count; ++i) {
        uint8_t* out = &rgba[i * 4];
        if (bitmap.IsHighColour()) {
            const uint8_t* p = &bitmap.pixels[i * kHighColourPixelBytes];
            out[0] = p[0], out[1] = p[1], out[2] = p[2];
            out[3] = uint8_t((p[3] & 31) * 255 / 31);
            continue;
        }
        const uint8_t* colour = &collection.palette[size_t(bitmap.pixels[i * 2 + 1]) * 3];
        out[0] = colour[0], out[1] = colour[1], out[2] = colour[2];
        out[3] = bitmap.pixels[i * 2];
    }
    return rgba;
}

}  // namespace

BitmapPictures::~BitmapPictures() {
    Clear();
    DeleteTexture(chequer_);
}

void BitmapPictures::DrawChequer(const Rect& area) {
    if (!chequer_) {
        uint8_t pixels[2 * kSquare][2 * kSquare];
        for (int y = 0; y < 2 * kSquare; ++y)
            for (int x = 0; x < 2 * kSquare; ++x) pixels[y][x] = (x / kSquare + y / kSquare) % 2 ? 150 : 200;
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, 2 * kSquare, 2 * kSquare, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels);
        chequer_ = texture;
    }
    const float u = float(area.Width()) / (2 * kSquare), v = float(area.Height()) / (2 * kSquare);
    FlushDrawing();
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, chequer_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2i(area.left, area.top);
    glTexCoord2f(u, 0), glVertex2i(area.right, area.top);
    glTexCoord2f(u, v), glVertex2i(area.right, area.bottom);
    glTexCoord2f(0, v), glVertex2i(area.left, area.bottom);
    glEnd();
    glPopAttrib();
}

void BitmapPictures::Clear() {
    for (auto& [key, entry] : entries_) DeleteTexture(entry.texture);
    entries_.clear();
}

void BitmapPictures::Prune(const Collection& collection) {
    std::unordered_map<const Bitmap*, bool> listed;
    for (const auto& bitmap : collection.bitmaps) listed[bitmap.get()] = true;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (listed.count(it->first) && !it->second.bitmap.expired()) {
            ++it;
            continue;
        }
        DeleteTexture(it->second.texture);
        it = entries_.erase(it);
    }
}

uint32_t BitmapPictures::TextureOf(const Collection& collection, const std::shared_ptr<Bitmap>& bitmap) {
    auto found = entries_.find(bitmap.get());
    if (found != entries_.end() && found->second.bitmap.lock() == bitmap) return found->second.texture;
    if (found != entries_.end()) DeleteTexture(found->second.texture);
    const std::vector<uint8_t> rgba = RgbaOf(collection, *bitmap);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, bitmap->width, bitmap->height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    entries_[bitmap.get()] = {bitmap, texture};
    return texture;
}

void BitmapPictures::Draw(const Collection& collection, const std::shared_ptr<Bitmap>& bitmap, const Rect& area,
                          double zoom) {
    if (!bitmap || bitmap->PixelCount() == 0 || area.IsEmpty()) return;
    const double scale = zoom > 0 ? zoom
                                  : std::min({1.0, double(area.Width()) / bitmap->width, double(area.Height()) / bitmap->height});
    const int w = std::max(1, int(bitmap->width * scale)), h = std::max(1, int(bitmap->height * scale));
    const int x = area.left + (area.Width() - w) / 2, y = area.top + (area.Height() - h) / 2;
    const Rect shown{x, y, x + w, y + h};
    DrawChequer(shown);
    FlushDrawing();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, TextureOf(collection, bitmap));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2i(shown.left, shown.top);
    glTexCoord2f(1, 0), glVertex2i(shown.right, shown.top);
    glTexCoord2f(1, 1), glVertex2i(shown.right, shown.bottom);
    glTexCoord2f(0, 1), glVertex2i(shown.left, shown.bottom);
    glEnd();
    glPopAttrib();
}

}  // namespace tamber::collections::editor
