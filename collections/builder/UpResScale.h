#pragma once
// The global scale of a high-resolution build: the mean ratio of render sizes to
// original sizes over the instances that agree with it, found in rounds that
// raise the warn fraction until some instance passes.
#include <optional>
#include <string>
#include <vector>

#include "collections/builder/BuildLog.h"

namespace tamber::collections::builder {

// One original bitmap and its render's cropped size.
struct ScalePair {
    std::string original;
    int originalWidth = 0, originalHeight = 0;
    std::string render;
    int renderWidth = 0, renderHeight = 0;
};

// The rounds with their log lines. None when nothing takes part, or when no
// instance passes before the warn fraction exceeds any sensible size.
std::optional<double> ComputeGlobalScale(const std::vector<ScalePair>& pairs, double tolerance, const BuildLog& log);

}  // namespace tamber::collections::builder
