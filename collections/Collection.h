#pragma once
// A collection (tag group `.256`): palette, hue changes, bitmaps and sequences.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "collections/Bitmap.h"
#include "collections/HueChange.h"
#include "collections/Sequence.h"

namespace tamber::collections {

// Collection flags (the tag header's `user` field).
enum : uint32_t {
    kCollectionTextures = 1,
    kCollectionMonsters = 2,
    kCollectionProjectiles = 4,
    kCollectionScenery = 8,
    kCollectionAtmospheric = 16,
    kCollectionInterfaces = 32,
    kCollectionColourMap = 0x100,
};

class Collection {
public:
    uint32_t flags = 0;
    uint32_t headerWord = 0;
    std::array<uint8_t, 768> palette{};  // 256 entries of red, green, blue
    std::vector<HueChange> hueChanges;
    std::vector<std::shared_ptr<Bitmap>> bitmaps;
    std::vector<Sequence> sequences;
    int displaySet = 0;                  // 0 or 1: which set of views with a second set is shown
    // False after a read without bitmap data; such a collection must not be written.
    bool complete = true;

    int BitmapCount() const { return int(bitmaps.size()); }
    int SequenceCount() const { return int(sequences.size()); }
    int HueChangeCount() const { return int(hueChanges.size()); }
    Bitmap* GetBitmap(int index) const;
    // Index of a bitmap object in the list, -1 when absent.
    int IndexOfBitmap(const Bitmap* bitmap) const;
    const std::string* SequenceName(int index) const;
    const Shadow* GetShadow(int sequence, int frame) const;
    const View* GetView(int sequence, int frame, int view) const;
};

}  // namespace tamber::collections
