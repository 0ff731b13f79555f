#pragma once
// An animation sequence: per frame one shadow and one view per direction.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "collections/Bitmap.h"

namespace tamber::collections {

// View record flags.
enum : uint32_t {
    kViewMirrorH = 1,
    kViewMirrorV = 2,
    kView16Bit = 4,
    kView3D = 16,
    kViewSecondSet = 32,
};

// Sequence header flags.
enum : uint32_t {
    kSequenceMirroring = 1,
    kSequenceHasFrames = 2,
    kSequenceNoRotation = 4,
};

constexpr uint32_t kFirstSetScale = 0x000A0000;  // 10.0 in 16.16 fixed point

struct ViewSet {
    std::shared_ptr<Bitmap> bitmap;  // none when null
    int16_t regX = 0, regY = 0;      // registration point from the bitmap's top-left corner
    uint32_t scale = kFirstSetScale; // 16.16 fixed point
};

struct View {
    uint32_t flags = 0;
    std::array<ViewSet, 2> sets;     // set 1 is used only with kViewSecondSet
    int16_t pointX = 0, pointY = 0;  // second point, moved with the registration point

    bool HasSecondSet() const { return flags & kViewSecondSet; }
    // The set drawn when the collection shows `displaySet` (0 or 1).
    const ViewSet& Shown(int displaySet) const { return sets[displaySet == 1 && HasSecondSet() ? 1 : 0]; }
};

struct Shadow {
    uint32_t flags = 0;              // bit 0: the shadow is light
    uint32_t word4 = 0, word8 = 0;   // kept
    std::shared_ptr<Bitmap> bitmap;
};

struct Frame {
    Shadow shadow;
    std::array<uint16_t, 3> words{};  // kept words of the frame entry
    std::vector<View> views;
};

struct SequenceHeader {
    uint32_t flags = 0;
    uint32_t kept4 = 0;
    uint16_t viewCount = 0;
    uint16_t ticksPerFrame = 0;
    uint16_t keyFrame = 0;
    uint16_t loopFrame = 0;
    std::array<uint16_t, 3> kept18{};
    uint32_t firstSound = 0xFFFFFFFF, keySound = 0xFFFFFFFF, lastSound = 0xFFFFFFFF;
    uint16_t mode = 0;
    uint16_t transferPeriod = 0;
    uint32_t regX = 0;               // 16.16, given to new views
    uint32_t kept44 = 0;
    uint32_t regY = 0;
    std::array<uint16_t, 3> kept52{};
};

// Drawing extents over all views that have a bitmap.
struct SequenceExtents {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Sequence {
    std::string name;                // at most 63 characters
    SequenceHeader header;
    std::vector<Frame> frames;
    SequenceExtents extents;

    // Number of views drawn; the others may be mirror images.
    int DrawnViews() const;
    // Applies the mirroring rules and computes the extents, as after a full read.
    void Complete();
    void ComputeExtents();
};

}  // namespace tamber::collections
