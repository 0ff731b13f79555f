// Windowless picture operations of the collection editor: bitmap commands, palette
// reconciliation, plates, imports, exports, hue values and colour tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/CollectionEdits.h"
#include "collections/ColorPlate.h"
#include "collections/HueChangeValues.h"
#include "collections/PaletteFile.h"
#include "collections/PaletteMerge.h"
#include "images/ColorTable.h"
#include "images/MediaFile.h"
#include "tests/collections/TestCollections.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::collections;
using namespace tamber::images;

namespace {

// A paletted bitmap whose pixels are all opaque except the transparent columns
// on the left.
std::shared_ptr<Bitmap> Opaque(const char* name, int w, int h, uint16_t flags, int clearLeft = 0) {
    auto b = std::make_shared<Bitmap>();
    b->name = name;
    b->flags = flags;
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 2);
    for (int i = 0; i < w * h; ++i) {
        const bool clear = i % w < clearLeft;
        pixels[size_t(i) * 2] = clear ? 0 : 255;
        pixels[size_t(i) * 2 + 1] = clear ? 0 : uint8_t(2 + i % 200);
    }
    StorePixels(*b, w, h, std::move(pixels));
    return b;
}

// One sequence of one frame whose single view shows `bitmap` at (10, 20).
void ShowInView(Collection& c, const std::shared_ptr<Bitmap>& bitmap, uint32_t viewFlags = 0) {
    Sequence s;
    s.name = "walk";
    s.frames.resize(1);
    View v;
    v.flags = viewFlags;
    v.sets[0].bitmap = bitmap;
    v.sets[0].regX = 10;
    v.sets[0].regY = 20;
    s.frames[0].views.push_back(v);
    c.sequences.push_back(s);
}

Image Paletted(int w, int h, std::vector<uint8_t> colours, std::vector<uint8_t> pixels) {
    Image image;
    EXPECT_TRUE(CreateImage(image, w, h, kPixelPaletted, pixels.data()));
    SetPalette(image, uint32_t(colours.size() / 3), colours.data());
    return image;
}

void SaveAs(const Image& image, const std::string& path) {
    MediaFile file(path);
    file.image = image;
    ASSERT_TRUE(SaveImage(file).ok()) << path;
}

const PaletteQuestion kRefuse = [] { return false; };

}  // namespace

TEST(BitmapCommands, CropMovesViewPointsAndFollowsTheExemptions) {
    Collection c;
    auto left = Opaque("left", 30, 10, kBitmapRle, 1);
    auto raw64 = Opaque("raw64", 64, 64, 0);
    auto rle64 = Opaque("rle64", 64, 64, kBitmapRle, 3);
    c.bitmaps = {left, raw64, rle64};
    ShowInView(c, left);
    ShowInView(c, left, kViewMirrorH);
    // The RAW 64 x 64 one has no transparency to lose, but power-of-two RAW bitmaps are never cropped.
    raw64->pixels[0] = 0;
    const CropOutcome outcome = CropTransparency(c, {left.get(), raw64.get(), rle64.get()});
    EXPECT_EQ(outcome.bitmaps, 2);
    EXPECT_EQ(outcome.pixels, 10 + 3 * 64);
    EXPECT_EQ(c.bitmaps[0]->width, 29);
    EXPECT_EQ(c.bitmaps[1].get(), raw64.get());
    EXPECT_EQ(c.bitmaps[2]->width, 61);
    EXPECT_EQ(left->width, 30) << "the old object stays as it was, for undo";
    EXPECT_EQ(c.sequences[0].frames[0].views[0].sets[0].regX, 9);
    EXPECT_EQ(c.sequences[0].frames[0].views[0].sets[0].bitmap, c.bitmaps[0]);
    EXPECT_EQ(c.sequences[1].frames[0].views[0].sets[0].regX, 10) << "mirrored views take the right margin";
}

TEST(BitmapCommands, UncropConvertAndRemoveAlpha) {
    Collection c;
    auto small = Opaque("small", 30, 20, 0);
    auto wide = Opaque("wide", 70, 20, 0);
    c.bitmaps = {small, wide};
    ShowInView(c, small);
    EXPECT_EQ(UncropTransparency(c, {small.get(), wide.get()}, 64), 1);
    const Bitmap& big = *c.bitmaps[0];
    EXPECT_EQ(big.width, 64);
    EXPECT_EQ(big.height, 64);
    EXPECT_EQ(big.pixels[(22 * 64 + 17) * 2], 255);
    EXPECT_EQ(big.pixels[(22 * 64 + 16) * 2], 0);
    EXPECT_EQ(c.sequences[0].frames[0].views[0].sets[0].regX, 27);
    EXPECT_EQ(c.sequences[0].frames[0].views[0].sets[0].regY, 42);
    EXPECT_EQ(c.bitmaps[1], wide);
    EXPECT_FALSE(big.Is16Bit()) << "8-bit pixels of index 0 are transparent";
    EXPECT_EQ(ConvertEncoding(c, {c.bitmaps[0].get()}, true), 1);
    EXPECT_EQ(ConvertEncoding(c, {c.bitmaps[0].get()}, true), 0);
    auto partial = Opaque("partial", 2, 1, 0);
    partial->pixels[0] = 17;
    StorePixels(*partial, 2, 1, partial->pixels);
    EXPECT_TRUE(partial->Is16Bit());
    c.bitmaps[0] = partial;
    EXPECT_EQ(RemoveAlpha(c, {partial.get(), wide.get()}), 1);
    EXPECT_FALSE(c.bitmaps[0]->Is16Bit());
    EXPECT_EQ(c.bitmaps[0]->pixels[0], 255);
    Bitmap decoded = *c.bitmaps[0];
    ASSERT_TRUE(decoded.Decode(c.palette.data()).ok());
    EXPECT_EQ(decoded.pixels, c.bitmaps[0]->pixels);
}

TEST(PaletteMerging, BlankRepeatedAndIncompatiblePalettes) {
    const Image image = Paletted(4, 1, {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3}, {0, 1, 2, 3});
    Collection blank;
    blank.palette.fill(7);
    EXPECT_EQ(MergePalette(blank, image), PaletteMerge::kChanged);
    EXPECT_EQ(blank.palette[9], 1);
    EXPECT_EQ(blank.palette[12], 10) << "unused entries repeat entry 0";

    // Entries 5 to 14 repeat entry 4; a bitmap using entry 6 moves to entry 4.
    Collection c;
    for (int i = 0; i < 256; ++i) c.palette[size_t(i) * 3] = uint8_t(i < 5 || i > 14 ? i : 4), c.palette[size_t(i) * 3 + 1] = 200;
    auto user = Opaque("user", 1, 1, 0);
    user->pixels[1] = 6;
    ASSERT_TRUE(user->Encode().ok());
    c.bitmaps = {user};
    std::vector<uint8_t> colours, pixels;
    for (int i = 0; i < 10; ++i) colours.insert(colours.end(), {uint8_t(i), 0, 99}), pixels.push_back(uint8_t(i));
    EXPECT_EQ(MergePalette(c, Paletted(10, 1, colours, pixels)), PaletteMerge::kChanged);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(c.palette[size_t(5 + i) * 3 + 2], 99) << i;
    EXPECT_EQ(c.bitmaps[0]->pixels[1], 4);
    EXPECT_EQ(MergePalette(c, Paletted(10, 1, colours, pixels)), PaletteMerge::kUnchanged);
    colours.insert(colours.end(), {1, 2, 3});
    pixels.push_back(10);
    const auto before = c.palette;
    EXPECT_EQ(MergePalette(c, Paletted(11, 1, colours, pixels)), PaletteMerge::kIncompatible);
    EXPECT_EQ(c.palette, before);
}

TEST(Plates, WrittenPlatesReadBackIntoTheSameBitmaps) {
    Scratch scratch;
    std::unique_ptr<Collection> c = MakeTestCollection();
    std::vector<const Bitmap*> paletted;
    for (const auto& b : c->bitmaps)
        if (!b->IsHighColour()) paletted.push_back(b.get());
    const Image plate = MakePlate(*c, paletted, false);
    const auto cells = ReadPlateLayout(plate);
    ASSERT_TRUE(cells.ok()) << cells.error();
    ASSERT_EQ(cells->size(), paletted.size());
    for (size_t i = 0; i < cells->size(); ++i) {
        EXPECT_EQ((*cells)[i].width, paletted[i]->width);
        EXPECT_EQ((*cells)[i].height, paletted[i]->height);
    }
    SaveAs(plate, scratch / "sheet.png");
    SaveAs(MakePlate(*c, paletted, true), scratch / "sheet alpha.png");
    Collection copy = *c;
    const ImportOutcome colours = ReplaceFromPlate(copy, paletted, scratch / "sheet.png", kRefuse);
    EXPECT_EQ(colours.changed, int(paletted.size()));
    std::vector<const Bitmap*> replaced;
    for (const auto& b : copy.bitmaps)
        if (!b->IsHighColour()) replaced.push_back(b.get());
    const ImportOutcome alphas = ReplaceAlphasFromPlate(copy, replaced, scratch / "sheet alpha.png");
    EXPECT_TRUE(alphas.refusals.empty());
    // What shows is the same; fully transparent pixels keep no colour.
    auto visible = [](std::vector<uint8_t> pixels) {
        for (size_t i = 0; i < pixels.size(); i += 2)
            if (pixels[i] == 0) pixels[i + 1] = 0;
        return pixels;
    };
    for (size_t i = 0, k = 0; i < c->bitmaps.size(); ++i) {
        if (c->bitmaps[i]->IsHighColour()) continue;
        EXPECT_EQ(copy.bitmaps[i]->pixels, visible(paletted[k++]->pixels)) << c->bitmaps[i]->name;
    }
    // The same plate adds new bitmaps named after the file and their cells.
    Collection added = *c;
    added.bitmaps.clear();
    EXPECT_EQ(AddBitmapsFromPlate(added, scratch / "sheet.png", true, kRefuse).changed, int(paletted.size()));
    EXPECT_EQ(added.bitmaps[2]->name, "sheet #0002");
    EXPECT_TRUE(added.bitmaps[2]->flags & 0x80);
    // Too few bitmaps for the plate, and a picture that is no plate.
    EXPECT_EQ(ReplaceFromPlate(copy, {paletted[0]}, scratch / "sheet.png", kRefuse).refusals.at(0),
              "'sheet.png': The color plate is not of the correct format or the image dimensions do not match.");
    SaveAs(Paletted(8, 8, {0, 0, 0}, std::vector<uint8_t>(64, 0)), scratch / "flat.png");
    EXPECT_EQ(AddBitmapsFromPlate(added, scratch / "flat.png", false, kRefuse).refusals.at(0),
              "'flat.png': The color plate is not of the correct format.");
}

TEST(Imports, FilesMasksAndTheirRefusals) {
    Scratch scratch;
    Collection c;
    c.palette.fill(0);
    SaveAs(Paletted(3, 2, {255, 0, 0, 0, 255, 0}, {0, 1, 0, 1, 1, 1}), scratch / "red green.png");
    Image rgb;
    ASSERT_TRUE(CreateImage(rgb, 2, 2, kPixelRGB));
    SaveAs(rgb, scratch / "rgb.png");
    scratch.Write("text.png", "not a picture");
    const ImportOutcome added = AddBitmapsFromFiles(
        c, {scratch / "red green.png", scratch / "rgb.png", scratch / "text.png"}, false, kRefuse);
    ASSERT_EQ(added.changed, 1);
    EXPECT_EQ(added.refusals, (std::vector<std::string>{"'rgb.png': The image is not 8-bit paletted.",
                                                          "'text.png': The file is not of the right format."}));
    EXPECT_EQ(c.bitmaps[0]->name, "red green");
    EXPECT_EQ(c.palette[0], 255);

    Image mask;
    ASSERT_TRUE(CreateImage(mask, 2, 2, kPixelGrey));
    SaveAs(mask, scratch / "red green.bmp");
    std::string unmatched;
    const auto mapping = MapReplacementFiles({c.bitmaps[0].get()}, {scratch / "red green.bmp"}, MappingMode::kByName,
                                             unmatched);
    ASSERT_TRUE(mapping.ok());
    EXPECT_EQ(ReplaceAlphas(c, *mapping).refusals.at(0),
              "'red green.bmp': The alpha mask must have the same dimensions as the image. Found: 2 x 2. "
              "Expected: 3 x 2.");
    EXPECT_FALSE(MapReplacementFiles({c.bitmaps[0].get(), c.bitmaps[0].get()}, {"a.png"}, MappingMode::kByOrder,
                                     unmatched)
                     .ok());
    ASSERT_TRUE(MapReplacementFiles({c.bitmaps[0].get()}, {"other.png"}, MappingMode::kByName, unmatched).ok());
    EXPECT_EQ(unmatched, "The following bitmaps were not matched by name: red green");

    // New colours that do not fit: the question decides.
    std::vector<uint8_t> colours;
    for (int i = 0; i < 256; ++i) colours.insert(colours.end(), {uint8_t(i), 1, 2});
    for (int i = 0; i < 256; ++i) c.palette[size_t(i) * 3] = uint8_t(i), c.palette[size_t(i) * 3 + 1] = 9;
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[size_t(i)] = uint8_t(i);
    SaveAs(Paletted(16, 16, colours, all), scratch / "full.png");
    EXPECT_TRUE(AddBitmapsFromFiles(c, {scratch / "full.png"}, false, kRefuse).cancelled);
    EXPECT_EQ(c.BitmapCount(), 1);
    EXPECT_EQ(AddBitmapsFromFiles(c, {scratch / "full.png"}, false, [] { return true; }).changed, 1);
    EXPECT_EQ(c.palette[2], 2);
}

TEST(Imports, PicturesWrittenByImageMagick) {
    Scratch scratch;
    const std::string script = "cd '" + scratch.Path() +
                               "' && convert -size 5x4 xc:red -fill blue -draw 'point 1,1' -type Palette p.png && "
                               "convert p.png -type Palette p.bmp && "
                               // ImageMagick packs these to 1 and 4 bits a pixel.
                               "convert p.png -type Palette p.tiff && "
                               "convert -size 5x20 gradient:red-blue -colors 12 -fill blue -draw 'point 1,1' "
                               "-type Palette p4.tiff && "
                               "convert -size 5x4 xc:gray50 -depth 8 -type Grayscale p_alpha.png";
    ASSERT_EQ(std::system(script.c_str()), 0);
    Collection c;
    const ImportOutcome outcome = AddBitmapsFromFiles(
        c, {scratch / "p.png", scratch / "p.bmp", scratch / "p.tiff", scratch / "p4.tiff"}, false, kRefuse);
    EXPECT_TRUE(outcome.refusals.empty()) << outcome.refusals.at(0);
    ASSERT_EQ(c.BitmapCount(), 4);
    EXPECT_EQ(c.bitmaps[1]->pixels, c.bitmaps[0]->pixels);
    EXPECT_EQ(c.bitmaps[2]->pixels, c.bitmaps[0]->pixels);
    EXPECT_EQ(c.bitmaps[3]->height, 20);
    for (const auto& b : c.bitmaps) {
        const uint8_t* blue = &c.palette[b->pixels[(5 + 1) * 2 + 1] * 3];
        EXPECT_EQ(blue[2], 255);
        EXPECT_EQ(blue[0], 0);
    }
    const ImportOutcome alpha = ReplaceAlphas(c, {{c.bitmaps[0].get(), scratch / "p_alpha.png"}});
    EXPECT_EQ(alpha.changed, 1);
    EXPECT_TRUE(c.bitmaps[0]->Is16Bit());
}

TEST(Exports, NamesAreSafeAndSharedNamesRefused) {
    Scratch scratch;
    std::unique_ptr<Collection> c = MakeTestCollection();
    auto a1 = Opaque("A", 2, 2, 0), a2 = Opaque("A", 3, 3, 0), evil = Opaque("../../x\x01", 2, 2, 0);
    const auto shared = ExportBitmaps(*c, {a1.get(), a2.get()}, scratch.Path(), "png", ExportNaming::kByName, "bitmap", false);
    ASSERT_FALSE(shared.ok());
    EXPECT_EQ(shared.error(), kSharedNameMessage);
    EXPECT_EQ(scratch.Count(), 0u);
    const auto numbered =
        ExportBitmaps(*c, {a1.get(), a2.get()}, scratch.Path(), "png", ExportNaming::kByNumber, "bitmap", false);
    ASSERT_TRUE(numbered.ok());
    EXPECT_EQ(numbered->written.at(1), scratch / "bitmap #0001.png");
    const auto named = ExportBitmaps(*c, {evil.get(), c->bitmaps[6].get()}, scratch.Path(), "png",
                                     ExportNaming::kByName, "alpha", true);
    ASSERT_TRUE(named.ok());
    EXPECT_EQ(named->written.at(0), scratch / ".._.._x_ alpha.png");
    EXPECT_EQ(named->notes.size(), 1u);
    EXPECT_EQ(named->failures.size(), 1u) << "the high-colour bitmap has no paletted picture";
    for (const char* name : {"", ".", "..", " . "}) EXPECT_EQ(SafeFileStem(name), "_") << name;
    // A failed write is reported.
    EXPECT_FALSE(ExportBitmap(*c, *a1, scratch / "missing/a.png", false).ok());
    EXPECT_FALSE(ExportPlate(*c, {a1.get()}, scratch / "plate.gif", false).ok());
}

TEST(HueValues, DefaultsRoundingAndAffectedColours) {
    HueChange hue = NewHueChange();
    EXPECT_EQ(hue.name, "New Hue Change");
    EXPECT_EQ(HueDegrees(hue.startHue), 120);
    EXPECT_EQ(HueDegrees(hue.endHue), 240);
    EXPECT_EQ(HueDegrees(hue.medianHue), 180);
    EXPECT_EQ(HueFromDegrees(120), hue.startHue);
    EXPECT_EQ(SaturationFromPercent(50), 32768);
    EXPECT_EQ(SaturationFromPercent(100), 65535);
    EXPECT_EQ(SaturationFromPercent(0), 1);
    EXPECT_EQ(SaturationPercent(SaturationFromPercent(37)), 37);
    std::array<uint8_t, 768> palette{};
    palette[3] = 255;                                      // 1: pure red
    palette[6] = palette[7] = palette[8] = 128;           // 2: grey
    palette[10] = 255;                                     // 3: pure green
    hue.startHue = 60000;
    hue.endHue = 5000;
    hue.ComputeAffected(palette.data());
    EXPECT_EQ(hue.affected[0], 0b0010);
    hue.startHue = 0;
    hue.endHue = 65535;
    hue.ComputeAffected(palette.data());
    EXPECT_EQ(hue.affected[0], 0b1010) << "grey is never affected";
}

TEST(ColorTables, LoadingAndSaving) {
    Scratch scratch;
    Collection c;
    c.palette.fill(200);
    std::vector<uint8_t> sixteen(16 * 3, 7);
    ASSERT_TRUE(WriteColorTable(scratch / "16.act", sixteen.data(), 16).ok());
    ASSERT_TRUE(LoadPalette(c, scratch / "16.act").ok());
    EXPECT_EQ(c.palette[15 * 3], 7);
    EXPECT_EQ(c.palette[16 * 3], 0);
    EXPECT_EQ(c.palette[255 * 3 + 2], 0);
    const auto before = c.palette;
    EXPECT_FALSE(LoadPalette(c, scratch / "none.act").ok());
    EXPECT_EQ(c.palette, before);
    c.palette[766] = 9;
    ASSERT_TRUE(SavePalette(c, scratch / "all.act").ok());
    Collection back;
    ASSERT_TRUE(LoadPalette(back, scratch / "all.act").ok());
    EXPECT_EQ(back.palette, c.palette);
}
