#include "images/WuQuantizer.h"

#include <algorithm>
#include <cmath>

namespace tamber::images {

WuQuantizer::WuQuantizer(const std::vector<ColorCount>& colors)
    : weight_(kSide * kSide * kSide), red_(weight_.size()), green_(weight_.size()), blue_(weight_.size()),
      squares_(weight_.size()) {
    for (const ColorCount& c : colors) {
        int r = int(c.rgb >> 16), g = int(c.rgb >> 8 & 255), b = int(c.rgb & 255);
        int cell = Index((r >> 3) + 1, (g >> 3) + 1, (b >> 3) + 1);
        double n = c.count;
        weight_[cell] += n;
        red_[cell] += n * r;
        green_[cell] += n * g;
        blue_[cell] += n * b;
        squares_[cell] += n * double(r * r + g * g + b * b);
    }
    Accumulate();
}

// Turns the cell sums into moments cumulative from the origin, so the sum over
// any box is eight lookups.
void WuQuantizer::Accumulate() {
    for (int r = 1; r < kSide; ++r) {
        double area[kSide] = {}, areaR[kSide] = {}, areaG[kSide] = {}, areaB[kSide] = {}, area2[kSide] = {};
        for (int g = 1; g < kSide; ++g) {
            double line = 0, lineR = 0, lineG = 0, lineB = 0, line2 = 0;
            for (int b = 1; b < kSide; ++b) {
                int i = Index(r, g, b);
                int below = Index(r - 1, g, b);
                line += weight_[i];
                lineR += red_[i];
                lineG += green_[i];
                lineB += blue_[i];
                line2 += squares_[i];
                area[b] += line;
                areaR[b] += lineR;
                areaG[b] += lineG;
                areaB[b] += lineB;
                area2[b] += line2;
                weight_[i] = weight_[below] + area[b];
                red_[i] = red_[below] + areaR[b];
                green_[i] = green_[below] + areaG[b];
                blue_[i] = blue_[below] + areaB[b];
                squares_[i] = squares_[below] + area2[b];
            }
        }
    }
}

double WuQuantizer::Volume(const Box& x, const std::vector<double>& m) const {
    return m[Index(x.r1, x.g1, x.b1)] - m[Index(x.r1, x.g1, x.b0)] - m[Index(x.r1, x.g0, x.b1)] +
           m[Index(x.r1, x.g0, x.b0)] - m[Index(x.r0, x.g1, x.b1)] + m[Index(x.r0, x.g1, x.b0)] +
           m[Index(x.r0, x.g0, x.b1)] - m[Index(x.r0, x.g0, x.b0)];
}

WuQuantizer::Moments WuQuantizer::VolumeAll(const Box& box) const {
    return {Volume(box, weight_), Volume(box, red_), Volume(box, green_), Volume(box, blue_)};
}

// The part of a box's sum that does not depend on the cut position along `axis`.
double WuQuantizer::Bottom(const Box& x, Axis axis, const std::vector<double>& m) const {
    switch (axis) {
    case kRed:
        return -m[Index(x.r0, x.g1, x.b1)] + m[Index(x.r0, x.g1, x.b0)] + m[Index(x.r0, x.g0, x.b1)] -
               m[Index(x.r0, x.g0, x.b0)];
    case kGreen:
        return -m[Index(x.r1, x.g0, x.b1)] + m[Index(x.r1, x.g0, x.b0)] + m[Index(x.r0, x.g0, x.b1)] -
               m[Index(x.r0, x.g0, x.b0)];
    case kBlue:
        return -m[Index(x.r1, x.g1, x.b0)] + m[Index(x.r1, x.g0, x.b0)] + m[Index(x.r0, x.g1, x.b0)] -
               m[Index(x.r0, x.g0, x.b0)];
    }
    return 0;
}

// The rest of the sum of the part below a cut at `p` along `axis`.
double WuQuantizer::Top(const Box& x, Axis axis, int p, const std::vector<double>& m) const {
    switch (axis) {
    case kRed:
        return m[Index(p, x.g1, x.b1)] - m[Index(p, x.g1, x.b0)] - m[Index(p, x.g0, x.b1)] + m[Index(p, x.g0, x.b0)];
    case kGreen:
        return m[Index(x.r1, p, x.b1)] - m[Index(x.r1, p, x.b0)] - m[Index(x.r0, p, x.b1)] + m[Index(x.r0, p, x.b0)];
    case kBlue:
        return m[Index(x.r1, x.g1, p)] - m[Index(x.r1, x.g0, p)] - m[Index(x.r0, x.g1, p)] + m[Index(x.r0, x.g0, p)];
    }
    return 0;
}

double WuQuantizer::Variance(const Box& box) const {
    Moments m = VolumeAll(box);
    if (m.w <= 0)
        return 0;
    return Volume(box, squares_) - (m.r * m.r + m.g * m.g + m.b * m.b) / m.w;
}

double WuQuantizer::Maximize(const Box& box, Axis axis, int first, int last, int& cut, const Moments& whole) const {
    Moments base{Bottom(box, axis, weight_), Bottom(box, axis, red_), Bottom(box, axis, green_),
                 Bottom(box, axis, blue_)};
    double best = 0;
    cut = -1;
    for (int i = first; i < last; ++i) {
        Moments half{base.w + Top(box, axis, i, weight_), base.r + Top(box, axis, i, red_),
                     base.g + Top(box, axis, i, green_), base.b + Top(box, axis, i, blue_)};
        if (half.w <= 0)
            continue;
        double score = (half.r * half.r + half.g * half.g + half.b * half.b) / half.w;
        Moments rest{whole.w - half.w, whole.r - half.r, whole.g - half.g, whole.b - half.b};
        if (rest.w <= 0)
            continue;
        score += (rest.r * rest.r + rest.g * rest.g + rest.b * rest.b) / rest.w;
        if (score > best) {
            best = score;
            cut = i;
        }
    }
    return best;
}

bool WuQuantizer::Cut(Box& box1, Box& box2) const {
    Moments whole = VolumeAll(box1);
    int cutR, cutG, cutB;
    double maxR = Maximize(box1, kRed, box1.r0 + 1, box1.r1, cutR, whole);
    double maxG = Maximize(box1, kGreen, box1.g0 + 1, box1.g1, cutG, whole);
    double maxB = Maximize(box1, kBlue, box1.b0 + 1, box1.b1, cutB, whole);
    Axis axis;
    if (maxR >= maxG && maxR >= maxB) {
        axis = kRed;
        if (cutR < 0)
            return false;  // the box cannot be split
    } else {
        axis = maxG >= maxB ? kGreen : kBlue;
    }
    box2.r1 = box1.r1;
    box2.g1 = box1.g1;
    box2.b1 = box1.b1;
    switch (axis) {
    case kRed:
        box2.r0 = box1.r1 = cutR;
        box2.g0 = box1.g0;
        box2.b0 = box1.b0;
        break;
    case kGreen:
        box2.g0 = box1.g1 = cutG;
        box2.r0 = box1.r0;
        box2.b0 = box1.b0;
        break;
    case kBlue:
        box2.b0 = box1.b1 = cutB;
        box2.r0 = box1.r0;
        box2.g0 = box1.g0;
        break;
    }
    box1.volume = (box1.r1 - box1.r0) * (box1.g1 - box1.g0) * (box1.b1 - box1.b0);
    box2.volume = (box2.r1 - box2.r0) * (box2.g1 - box2.g0) * (box2.b1 - box2.b0);
    return true;
}

std::vector<uint8_t> WuQuantizer::BuildPalette(uint32_t maxColors) {
    maxColors = std::clamp<uint32_t>(maxColors, 1, 256);
    std::vector<Box> boxes(maxColors);
    std::vector<double> variance(maxColors, 0.0);
    boxes[0] = {0, kSide - 1, 0, kSide - 1, 0, kSide - 1, 0};
    uint32_t count = maxColors;
    int next = 0;
    for (uint32_t i = 1; i < count; ++i) {
        if (Cut(boxes[next], boxes[i])) {
            variance[next] = boxes[next].volume > 1 ? Variance(boxes[next]) : 0.0;
            variance[i] = boxes[i].volume > 1 ? Variance(boxes[i]) : 0.0;
        } else {
            variance[next] = 0.0;  // this box cannot be cut; try the next best one
            --i;
        }
        next = 0;
        double largest = variance[0];
        for (uint32_t k = 1; k <= i; ++k) {
            if (variance[k] > largest) {
                largest = variance[k];
                next = int(k);
            }
        }
        if (largest <= 0.0) {
            count = i + 1;
            break;
        }
    }
    std::vector<uint8_t> palette;
    for (uint32_t k = 0; k < count; ++k) {
        Moments m = VolumeAll(boxes[k]);
        if (m.w <= 0)
            continue;  // an empty box adds no colour
        auto mean = [&](double sum) { return uint8_t(std::clamp(std::lround(sum / m.w), 0L, 255L)); };
        palette.insert(palette.end(), {mean(m.r), mean(m.g), mean(m.b)});
    }
    return palette;
}

}  // namespace tamber::images
