// The demo's collections: "demo sprites" with a bitmap of every encoding and
// sequences of every shape, "demo interface" with no sequences, and a loose
// "local sprites" whose bitmaps take their alpha from the colours.
#include "demo/DemoCollections.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "collections/CollectionFile.h"
#include "tags/FourCC.h"

namespace tamber::demo {
using namespace tamber::collections;
using namespace tamber::tags;

namespace {

void FillPalette(Collection& c) {
    // Entry 0 black; then ramps of red, green, blue and grey, 63 entries each.
    for (int i = 1; i < 256; ++i) {
        const int ramp = (i - 1) / 63, level = 4 + ((i - 1) % 63) * 4;
        uint8_t* p = &c.palette[size_t(i) * 3];
        p[0] = uint8_t(ramp == 0 || ramp >= 3 ? level : level / 4);
        p[1] = uint8_t(ramp == 1 || ramp >= 3 ? level : level / 4);
        p[2] = uint8_t(ramp == 2 || ramp >= 3 ? level : level / 4);
    }
}

// A shaded ball on a transparent ground: `edge` in 0..1 is the distance to the rim.
template <typename Paint>
std::shared_ptr<Bitmap> Ball(const std::string& name, int width, int height, uint16_t flags, Paint paint) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = name;
    bitmap->width = int16_t(width);
    bitmap->height = int16_t(height);
    bitmap->flags = flags;
    const size_t bytes = size_t(bitmap->DecodedPixelBytes());
    bitmap->pixels.assign(bitmap->PixelCount() * bytes, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double dx = (x + 0.5) / width * 2 - 1, dy = (y + 0.5) / height * 2 - 1;
            const double r = std::sqrt(dx * dx + dy * dy);
            if (r < 1)
                paint(&bitmap->pixels[(size_t(y) * size_t(width) + size_t(x)) * bytes], 1 - r, x, y);
        }
    [[maybe_unused]] const base::Status encoded = bitmap->Encode();
    assert(encoded.ok());  // the pixels were made to fit the flags
    return bitmap;
}

std::shared_ptr<Bitmap> PalettedBall(const std::string& name, int width, int height, uint16_t flags, int ramp) {
    const bool sixteen = flags & kBitmap16Bit;
    return Ball(name, width, height, flags, [=](uint8_t* p, double edge, int, int) {
        p[1] = uint8_t(1 + ramp * 63 + std::min(62, int(edge * 90)));
        // 16-bit bitmaps fade out towards the rim in steps of 17.
        p[0] = sixteen ? uint8_t(std::min(15, int(edge * 40)) * 17) : 255;
    });
}

std::shared_ptr<Bitmap> HighColourBall(const std::string& name, int width, int height) {
    return Ball(name, width, height, kBitmapHighColour, [](uint8_t* p, double edge, int x, int y) {
        const uint8_t level = edge > 0.2 ? 31 : uint8_t(1 + edge * 140);
        p[0] = uint8_t(80 + edge * 170);
        p[1] = uint8_t(x * 4);
        p[2] = uint8_t((y * 4) | 1);  // bit 0: the four extra bytes follow
        p[3] = level;
        p[4] = uint8_t(edge * 255);
        p[7] = 0x80;
    });
}

View MakeView(const std::shared_ptr<Bitmap>& bitmap) {
    View view;
    view.sets[0].bitmap = bitmap;
    view.sets[0].regX = int16_t(bitmap->width / 2);
    view.sets[0].regY = int16_t(bitmap->height - 2);
    view.pointX = view.sets[0].regX;
    view.pointY = int16_t(bitmap->height / 4);
    return view;
}

Sequence MakeSequence(const std::string& name, uint16_t views, uint32_t flags, int frames,
                      const std::vector<std::shared_ptr<Bitmap>>& bitmaps, const std::shared_ptr<Bitmap>& shadow) {
    Sequence s;
    s.name = name;
    s.header.flags = flags;
    s.header.viewCount = views;
    s.header.ticksPerFrame = 3;
    s.header.keyFrame = uint16_t(frames / 2);
    s.header.mode = frames > 1 ? 7 : 0;
    s.header.regX = 0x00100000;
    s.header.regY = 0x00200000;
    for (int f = 0; f < frames; ++f) {
        Frame frame;
        frame.shadow.bitmap = shadow;
        frame.shadow.flags = f % 2;
        for (int v = 0; v < views; ++v)
            frame.views.push_back(MakeView(bitmaps[size_t(v + f) % bitmaps.size()]));
        s.frames.push_back(frame);
    }
    s.Complete();
    return s;
}

HueChange MakeHueChange(const std::string& name, uint16_t start, uint16_t end, uint16_t use) {
    HueChange hue;
    hue.name = name;
    hue.startHue = start;
    hue.endHue = end;
    hue.medianHue = uint16_t(start + uint16_t(end - start) / 2);
    hue.minSaturation = 0x4000;
    hue.use = use;
    hue.red = 0xFF00;
    hue.green = 0x8000;
    return hue;
}

Collection Sprites() {
    Collection c;
    c.flags = kCollectionMonsters | kCollectionProjectiles;
    FillPalette(c);
    c.hueChanges.push_back(MakeHueChange("team primary", 0x5556, 0xAAAB, 1));
    HueChange wrap = MakeHueChange("team secondary", 60000, 5000, 2);
    wrap.reversed = 1;
    wrap.solid[0] = 3;
    c.hueChanges.push_back(wrap);

    const struct {
        const char* name;
        int width, height;
        uint16_t flags;
    } kinds[] = {
        {"raw 8-bit", 24, 24, 0},
        {"raw 8-bit padded", 23, 21, kBitmapPadded},
        {"rle 8-bit", 32, 28, kBitmapRle},
        {"rle 8-bit padded", 31, 27, kBitmapRle | kBitmapPadded},
        {"raw 16-bit", 20, 20, kBitmap16Bit},
        {"rle 16-bit", 33, 30, kBitmap16Bit | kBitmapRle},
        {"rle 16-bit padded", 17, 19, kBitmap16Bit | kBitmapRle | kBitmapPadded},
    };
    int ramp = 0;
    for (const auto& kind : kinds)
        c.bitmaps.push_back(PalettedBall(kind.name, kind.width, kind.height, kind.flags, ramp++ % 4));
    c.bitmaps.push_back(HighColourBall("high colour", 30, 26));
    auto shadow = PalettedBall("shadow", 24, 8, kBitmapRle, 3);
    c.bitmaps.push_back(shadow);

    const std::vector<std::shared_ptr<Bitmap>> walk(c.bitmaps.begin(), c.bitmaps.begin() + 7);
    c.sequences.push_back(MakeSequence("walk (8 views, mirrored)", 8, kSequenceMirroring, 4, walk, shadow));
    c.sequences.push_back(MakeSequence("spin (5 views, mirrored)", 5, kSequenceMirroring, 2, walk, shadow));
    c.sequences.push_back(MakeSequence("idle (3 views, no rotation)", 3, kSequenceNoRotation, 1, walk, nullptr));
    Sequence glow = MakeSequence("glow (second set)", 1, 0, 3, {c.bitmaps[7]}, nullptr);
    for (Frame& frame : glow.frames) {
        View& view = frame.views[0];
        view.flags |= kViewSecondSet | kView3D;
        view.sets[1] = {c.bitmaps[2], 4, 5, 0x00080000};
    }
    c.sequences.push_back(glow);
    c.sequences.push_back(MakeSequence("unused (no frames)", 1, 0, 0, walk, nullptr));
    return c;
}

Collection Interface() {
    Collection c;
    c.flags = kCollectionInterfaces | kCollectionTextures;
    FillPalette(c);
    c.bitmaps.push_back(PalettedBall("button", 40, 16, 0, 3));
    c.bitmaps.push_back(PalettedBall("button lit", 40, 16, kBitmapRle, 0));
    return c;
}

Collection LocalSprites() {
    Collection c;
    c.flags = kCollectionAtmospheric;
    FillPalette(c);
    // 8-bit pixels whose alpha comes from the brightest component of their colour.
    auto glow = Ball("colour alpha", 26, 26, kBitmapRle | kBitmapColourAlpha8, [&](uint8_t* p, double edge, int, int) {
        p[1] = uint8_t(190 + std::min(62, int(edge * 90)));
        const uint8_t* rgb = &c.palette[size_t(p[1]) * 3];
        p[0] = std::max({rgb[0], rgb[1], rgb[2]});
    });
    c.bitmaps.push_back(glow);
    c.sequences.push_back(MakeSequence("flicker", 1, 0, 2, {glow}, nullptr));
    return c;
}

}  // namespace

DemoTag MakeCollectionTag(const Collection& collection, const std::string& name, uint32_t tagid) {
    // The demo collections are built whole above, so they always store.
    base::Result<CollectionPayload> written = WriteCollection(collection);
    assert(written.ok());
    const CollectionTagFields fields = written->fields;
    DemoTag tag;
    tag.data = std::move(written->bytes);
    tag.group = fields.group;
    tag.tagid = tagid;
    tag.name = name;
    tag.version = fields.version;
    tag.user = fields.user;
    return tag;
}

void AddCollectionContent(DemoGame& game) {
    DemoArchive& foundation = game.ArchiveNamed("foundation.dng");
    foundation.tags.push_back(MakeCollectionTag(Sprites(), "demo sprites", FourCC("spri")));
    foundation.tags.push_back(MakeCollectionTag(Interface(), "demo interface", FourCC("intf")));
    DemoTag local = MakeCollectionTag(LocalSprites(), "local sprites", FourCC("losp"));
    game.AddLoose({"collections", local.name, local, false});
}

}  // namespace tamber::demo
