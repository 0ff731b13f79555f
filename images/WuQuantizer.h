#pragma once
// Wu's colour quantiser: cumulative colour moments over a 33 x 33 x 33 grid of
// 5-bit cells, split by repeatedly cutting the box of largest variance at the
// plane that maximises the variance between its two parts.
#include <cstdint>
#include <vector>

#include "images/ColorHistogram.h"

namespace tamber::images {

class WuQuantizer {
public:
    explicit WuQuantizer(const std::vector<ColorCount>& colors);

    // Builds at most `maxColors` (1 to 256) palette entries, each the mean of its
    // box; fewer when no box has variance left. Returns red, green, blue triples.
    std::vector<uint8_t> BuildPalette(uint32_t maxColors);

private:
    struct Box {
        int r0, r1, g0, g1, b0, b1;  // exclusive lower, inclusive upper cell bounds
        int volume;
    };
    enum Axis { kRed, kGreen, kBlue };
    struct Moments {
        double w, r, g, b;
    };

    static constexpr int kSide = 33;
    static int Index(int r, int g, int b) { return (r * kSide + g) * kSide + b; }

    void Accumulate();
    double Volume(const Box& box, const std::vector<double>& m) const;
    Moments VolumeAll(const Box& box) const;
    double Bottom(const Box& box, Axis axis, const std::vector<double>& m) const;
    double Top(const Box& box, Axis axis, int position, const std::vector<double>& m) const;
    double Variance(const Box& box) const;
    double Maximize(const Box& box, Axis axis, int first, int last, int& cut, const Moments& whole) const;
    bool Cut(Box& box1, Box& box2) const;

    std::vector<double> weight_, red_, green_, blue_, squares_;
};

}  // namespace tamber::images
