#include "tests/collections/TestCollections.h"

#include <gtest/gtest.h>

std::shared_ptr<Bitmap> MakeTestBitmap(const char* name, int width, int height, uint16_t flags, int seed) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = name;
    bitmap->width = int16_t(width);
    bitmap->height = int16_t(height);
    bitmap->flags = flags;
    bitmap->pixels.assign(bitmap->PixelCount() * size_t(bitmap->DecodedPixelBytes()), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &bitmap->pixels[(size_t(y) * size_t(width) + size_t(x)) * size_t(bitmap->DecodedPixelBytes())];
            const int v = (x * 7 + y * 13 + seed * 31) & 255;
            const bool hole = (x + y + seed) % 5 == 0 || x == 0;  // transparent stretches for RLE
            if (bitmap->IsHighColour()) {
                if (hole)
                    continue;
                const uint8_t level = (x % 3 == 0) ? 31 : uint8_t(1 + v % 30);
                p[0] = uint8_t(v);
                p[1] = uint8_t(v ^ 0x5A);
                p[2] = uint8_t(v & 1 ? v : v & 0xFE);
                p[3] = uint8_t(level | (seed & 1 ? 0x40 : 0));
                if (p[2] & 1) {
                    p[4] = uint8_t(x);
                    p[5] = uint8_t(y);
                    p[6] = 7;
                    p[7] = 9;
                }
            } else if (!hole) {
                p[1] = uint8_t(1 + v % 255);
                p[0] = bitmap->Is16Bit() ? uint8_t((v % 16) * 17) : 255;
            }
        }
    return bitmap;
}

std::unique_ptr<Collection> MakeTestCollection() {
    auto c = std::make_unique<Collection>();
    c->flags = kCollectionMonsters | kCollectionScenery;
    c->headerWord = 0x12345678;
    for (size_t i = 0; i < 256; ++i) {
        c->palette[i * 3] = uint8_t(i);
        c->palette[i * 3 + 1] = uint8_t(255 - i);
        c->palette[i * 3 + 2] = uint8_t(i * 3);
    }
    HueChange hue;
    hue.name = "team colour";
    hue.startHue = 0x5556;
    hue.endHue = 0xAAAB;
    hue.medianHue = 0x8001;
    hue.use = 1;
    hue.kept = {1, 2, 3};
    hue.red = 0xFF00;
    hue.reversed = 1;
    hue.solid = {3, 0, 0, 0, 0, 0, 9, 9};
    c->hueChanges.push_back(hue);
    hue.name = "wrapping";
    hue.startHue = 60000;
    hue.endHue = 5000;
    c->hueChanges.push_back(hue);

    const struct {
        const char* name;
        int width, height;
        uint16_t flags;
    } kinds[] = {
        {"raw8", 9, 6, 0},
        {"raw8 padded", 7, 5, kBitmapPadded},
        {"rle8", 12, 8, kBitmapRle},
        {"rle8 padded", 11, 7, kBitmapRle | kBitmapPadded},
        {"raw16", 6, 6, kBitmap16Bit},
        {"rle16", 13, 9, kBitmapRle | kBitmap16Bit},
        {"high colour", 10, 7, kBitmapHighColour},
        {"rle8 kept bits", 8, 4, kBitmapRle | 0x80 | 0x8000},
    };
    int seed = 0;
    for (const auto& kind : kinds) {
        auto bitmap = MakeTestBitmap(kind.name, kind.width, kind.height, kind.flags, seed++);
        bitmap->kept[3] = uint8_t(seed);
        EXPECT_TRUE(bitmap->Encode());
        c->bitmaps.push_back(bitmap);
    }

    // Eight views with mirroring; views 1 and 2 carry a second set.
    Sequence walk;
    walk.name = "walk";
    walk.header.flags = kSequenceMirroring;
    walk.header.viewCount = 8;
    walk.header.ticksPerFrame = 4;
    walk.header.firstSound = 0x736E6431;
    walk.header.regX = 0x00030000;
    walk.header.kept52 = {7, 8, 9};
    for (int f = 0; f < 2; ++f) {
        Frame frame;
        frame.shadow.flags = 1;
        frame.shadow.word8 = 77;
        frame.shadow.bitmap = c->bitmaps[1];
        frame.words = {uint16_t(f), 2, 3};
        frame.views.resize(8);
        for (int v = 0; v < 5; ++v) {
            View& view = frame.views[size_t(v)];
            view.sets[0].bitmap = c->bitmaps[size_t((v + f) % 6)];
            view.sets[0].regX = int16_t(v + 1);
            view.sets[0].regY = int16_t(2 * v);
            view.pointX = int16_t(-v);
            if (v == 1 || v == 2) {
                view.flags |= kViewSecondSet | kView3D;
                view.sets[1].bitmap = c->bitmaps[6];
                view.sets[1].scale = 0x00050000;
                view.sets[1].regX = 3;
                view.sets[1].regY = -4;
            }
        }
        walk.frames.push_back(frame);
    }
    walk.Complete();
    c->sequences.push_back(walk);

    // Three views, no mirroring, no rotation; one view without a bitmap.
    Sequence idle;
    idle.name = "idle";
    idle.header.flags = kSequenceNoRotation | 0x100;
    idle.header.viewCount = 3;
    Frame frame;
    frame.views.resize(3);
    frame.views[0].sets[0].bitmap = c->bitmaps[7];
    frame.views[2].sets[0].bitmap = c->bitmaps[5];
    frame.views[2].flags = kViewMirrorV;
    idle.frames.push_back(frame);
    idle.Complete();
    c->sequences.push_back(idle);

    Sequence empty;
    empty.name = "no frames";
    empty.header.viewCount = 1;
    c->sequences.push_back(empty);
    return c;
}
