#include "collections/ColorPlate.h"

#include <algorithm>
#include <cmath>

namespace tamber::collections {
using namespace tamber::base;
using namespace tamber::images;

namespace {

constexpr uint8_t kGrid = 1;

class PlateView {
public:
    explicit PlateView(const Image& image) : image_(image) {}
    int Width() const { return image_.width; }
    int Height() const { return image_.height; }
    uint8_t At(int x, int y) const { return image_.pixels[size_t(y) * size_t(image_.width) + size_t(x)]; }
    bool RowIsGrid(int y) const {
        const uint8_t* row = &image_.pixels[size_t(y) * size_t(image_.width)];
        return std::all_of(row, row + image_.width, [](uint8_t v) { return v == kGrid; });
    }

private:
    const Image& image_;
};

bool HasFrame(const PlateView& plate) {
    const int w = plate.Width(), h = plate.Height();
    if (plate.At(0, 0) != 0 || plate.At(1, 0) != kGrid) return false;
    for (int x = 2; x < w; ++x)
        if (plate.At(x, 0) != 0) return false;
    if (!plate.RowIsGrid(1) || !plate.RowIsGrid(h - 1)) return false;
    for (int y = 0; y < h; ++y) {
        if (plate.At(0, y) > kGrid || (y > 0 && plate.At(1, y) != kGrid)) return false;
        if (y >= 2 && plate.At(0, y) == kGrid && !plate.RowIsGrid(y)) return false;
    }
    return true;
}

PlateCell CellBitmap(const PlateView& plate, int x0, int y0, int x1, int y1) {
    int lastX = -1, lastY = -1;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (plate.At(x, y) == kGrid) lastX = std::max(lastX, x), lastY = std::max(lastY, y);
    PlateCell cell;
    if (lastX > x0 + 1 && lastY > y0 + 1) cell = {x0 + 1, y0 + 1, lastX - x0 - 1, lastY - y0 - 1};
    return cell;
}

// Where MakePlate puts each bitmap: bands of cells no wider than the plate.
struct Placement {
    std::vector<PlateCell> cells;
    int width = 0, height = 0;
};

Placement Place(const std::vector<const Bitmap*>& bitmaps) {
    // A cell is its bitmap plus a margin column and row, the closing grid column and
    // row, and the separator; aim at a roughly square plate.
    double area = 0;
    int widest = 1;
    for (const Bitmap* b : bitmaps) {
        area += double(b->width + 3) * double(b->height + 3);
        widest = std::max(widest, b->width + 3);
    }
    const int limit = std::max(widest, int(std::sqrt(area) * 1.1));
    Placement placement;
    int x = 2, y = 2, bandHeight = 0, rightmost = 3;
    for (const Bitmap* b : bitmaps) {
        if (x > 2 && x + b->width + 3 > 2 + limit) {
            y += bandHeight + 1;
            x = 2, bandHeight = 0;
        }
        placement.cells.push_back({x + 1, y + 1, b->width, b->height});
        x += b->width + 3;
        rightmost = std::max(rightmost, x);
        bandHeight = std::max(bandHeight, b->height + 2);
    }
    placement.width = std::max(rightmost, 6);
    placement.height = std::max(y + bandHeight + 1, 6);
    return placement;
}

// Opaque pixels of indices 0 and 1 would read back as transparent: they take
// another entry of the same colour when the palette has one.
std::array<uint8_t, 256> PlateIndices(const Collection& collection) {
    std::array<uint8_t, 256> map;
    for (int i = 0; i < 256; ++i) map[size_t(i)] = uint8_t(i);
    for (int low = 0; low < 2; ++low)
        for (int i = 2; i < 256; ++i)
            if (std::equal(&collection.palette[size_t(low) * 3], &collection.palette[size_t(low) * 3 + 3],
                           &collection.palette[size_t(i) * 3])) {
                map[size_t(low)] = uint8_t(i);
                break;
            }
    return map;
}

}  // namespace

Result<std::vector<PlateCell>> ReadPlateLayout(const Image& image) {
    if (image.format != kPixelPaletted && image.format != kPixelGrey)
        return Fail("a plate is an 8-bit paletted or greyscale picture");
    if (image.width < 6 || image.height < 6) return Fail("a plate is at least 6 x 6 pixels");
    const PlateView plate(image);
    if (!HasFrame(plate)) return Fail("the plate's frame or grid is damaged");
    std::vector<PlateCell> cells;
    int bandStart = 2;
    for (int y = 2; y < image.height; ++y) {
        if (plate.At(0, y) != kGrid) continue;
        if (y > bandStart) {
            int cellStart = 2;
            for (int x = 2; x < image.width; ++x) {
                if (plate.At(x, bandStart) != kGrid) continue;
                cells.push_back(CellBitmap(plate, cellStart, bandStart, x, y));
                cellStart = x + 1;
            }
        }
        bandStart = y + 1;
    }
    return cells;
}

std::vector<const Bitmap*> PlateBitmaps(const std::vector<const Bitmap*>& bitmaps) {
    std::vector<const Bitmap*> paletted;
    for (const Bitmap* bitmap : bitmaps)
        if (!bitmap->IsHighColour() && bitmap->pixels.size() == bitmap->PixelCount() * kPalettedPixelBytes)
            paletted.push_back(bitmap);
    return paletted;
}

Image MakePlate(const Collection& collection, const std::vector<const Bitmap*>& bitmaps, bool alpha) {
    const Placement placement = Place(bitmaps);
    Image plate;
    [[maybe_unused]] const bool created =
        CreateImage(plate, placement.width, placement.height, alpha ? kPixelGrey : kPixelPaletted);
    if (!alpha) SetPalette(plate, 256, collection.palette.data());
    const size_t w = size_t(plate.width);
    auto set = [&](int x, int y, uint8_t v) { plate.pixels[size_t(y) * w + size_t(x)] = v; };
    auto gridRow = [&](int y) { std::fill_n(plate.pixels.begin() + ptrdiff_t(size_t(y) * w), w, kGrid); };
    set(1, 0, kGrid);
    gridRow(1);
    gridRow(plate.height - 1);
    for (int y = 2; y < plate.height; ++y) set(1, y, kGrid);
    const std::array<uint8_t, 256> indices = PlateIndices(collection);
    for (size_t i = 0; i < bitmaps.size(); ++i) {
        const Bitmap& b = *bitmaps[i];
        const PlateCell& cell = placement.cells[i];
        const int x0 = cell.x - 1, y0 = cell.y - 1;
        // The band separator below a band, drawn once per band (by its first cell).
        if (x0 == 2) {
            int bandHeight = 0;
            for (size_t k = i; k < bitmaps.size() && placement.cells[k].y == cell.y; ++k)
                bandHeight = std::max(bandHeight, bitmaps[k]->height + 2);
            gridRow(y0 + bandHeight);
        }
        const int separator = x0 + b.width + 2;
        for (int y = y0; y < plate.height - 1; ++y) {
            if (plate.pixels[size_t(y) * w] == kGrid && y > y0) break;
            set(separator, y, kGrid);
        }
        for (int y = cell.y; y <= cell.y + b.height; ++y) set(cell.x + b.width, y, kGrid);
        for (int x = cell.x; x <= cell.x + b.width; ++x) set(x, cell.y + b.height, kGrid);
        if (b.pixels.size() != b.PixelCount() * kPalettedPixelBytes) continue;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                const uint8_t* p = &b.pixels[(size_t(y) * size_t(b.width) + size_t(x)) * 2];
                set(cell.x + x, cell.y + y, alpha ? p[0] : p[0] == 0 ? 0 : indices[p[1]]);
            }
    }
    return plate;
}

}  // namespace tamber::collections
