#include "collections/builder/UpResScale.h"

#include <algorithm>
#include <cmath>

namespace tamber::collections::builder {

namespace {

constexpr int kRounds = 5;
constexpr double kRaise = 0.1;
// Sizes are at most 32767, so ratios differ from one another by less than this
// in relative terms; a warn fraction past it would pass anything.
constexpr double kLargestWarnFraction = 1100.0;

struct Ratio {
    double x, y, aspect;
};

}  // namespace

std::optional<double> ComputeGlobalScale(const std::vector<ScalePair>& pairs, double tolerance, const BuildLog& log) {
    if (pairs.empty()) return std::nullopt;
    std::vector<Ratio> ratios;
    for (const ScalePair& p : pairs) {
        const double rx = double(p.renderWidth) / p.originalWidth, ry = double(p.renderHeight) / p.originalHeight;
        ratios.push_back({rx, ry, (double(p.originalWidth) / p.originalHeight) /
                                      (double(p.renderWidth) / p.renderHeight)});
    }
    double warn = tolerance;
    while (warn <= kLargestWarnFraction) {
        double scale = 0;
        bool rounds = true;
        for (int round = 0; round < kRounds && rounds; ++round) {
            double sum = 0;
            size_t passed = 0;
            std::vector<bool> passes(ratios.size());
            for (size_t i = 0; i < ratios.size(); ++i) {
                const Ratio& r = ratios[i];
                passes[i] = round == 0 ? std::fabs(r.aspect - 1) < warn
                                       : std::max(std::fabs(r.x / scale - 1), std::fabs(r.y / scale - 1)) < warn;
                if (passes[i]) {
                    sum += (r.x + r.y) / 2;
                    ++passed;
                }
            }
            if (!passed) {
                warn += kRaise;
                log.Line(1, "WARNING: no bitmaps passed; warn_fraction too low. raising warn_fraction to %.2lf\n", warn);
                rounds = false;
                break;
            }
            scale = sum / double(passed);
            log.Line(0, "computed global scale: %.2lf\n", scale);
            if (round == kRounds - 1) {
                for (size_t i = 0; i < ratios.size(); ++i) {
                    if (passes[i]) continue;
                    const ScalePair& p = pairs[i];
                    log.Line(1, "SCALE WARNING: %s(%dx%d) vs %s(%dx%d) - dimensions differ by (%.1lf%%, %.1lf%%)\n",
                             p.original.c_str(), p.originalWidth, p.originalHeight, p.render.c_str(), p.renderWidth,
                             p.renderHeight, (ratios[i].x / scale - 1) * 100, (ratios[i].y / scale - 1) * 100);
                }
            }
        }
        if (rounds) return scale;
    }
    log.Line(1, "ERROR: no bitmaps passed at any warn_fraction; the renders do not match the collection.\n");
    return std::nullopt;
}

}  // namespace tamber::collections::builder
