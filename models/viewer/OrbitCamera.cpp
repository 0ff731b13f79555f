#include "models/viewer/OrbitCamera.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace tamber::models::viewer {

namespace {
constexpr float kDegrees = 3.14159265f / 180;
}

void OrbitCamera::Frame(const Model& model) {
    float squared = 0;
    for (int axis = 0; axis < 3; ++axis) {
        target[axis] = (model.boundsMin[axis] + model.boundsMax[axis]) / 2;
        const float side = model.boundsMax[axis] - model.boundsMin[axis];
        squared += side * side;
    }
    extent = std::sqrt(squared);
    if (!(extent > 0) || !std::isfinite(extent)) extent = 1;
    distance = 1.5f * extent;
    yaw = 30;
    pitch = 20;
}

void OrbitCamera::Pan(int dx, int dy) {
    // Screen right and up in model space for the current yaw and pitch.
    const float rate = distance * 0.002f;
    const float cy = std::cos(yaw * kDegrees), sy = std::sin(yaw * kDegrees);
    const float cp = std::cos(pitch * kDegrees), sp = std::sin(pitch * kDegrees);
    const float right[3] = {cy, 0, sy};
    const float up[3] = {-sy * sp, cp, cy * sp};
    for (int axis = 0; axis < 3; ++axis) target[axis] += (-float(dx) * right[axis] + float(dy) * up[axis]) * rate;
}

void OrbitCamera::Rotate(int dx, int dy) {
    yaw = std::fmod(yaw + float(dx) * 0.5f, 360.0f);
    pitch = std::clamp(pitch + float(dy) * 0.5f, -89.0f, 89.0f);
}

void OrbitCamera::Zoom(int dy) {
    distance = std::clamp(distance * std::exp(float(dy) * 0.01f), extent * 0.05f, extent * 50.0f);
}

void OrbitCamera::Apply() const {
    glTranslatef(0, 0, -distance);
    glRotatef(pitch, 1, 0, 0);
    glRotatef(yaw, 0, 1, 0);
    glTranslatef(-target[0], -target[1], -target[2]);
}

float OrbitCamera::Near() const { return std::max(distance - extent, distance * 0.01f); }
float OrbitCamera::Far() const { return distance + extent; }

}  // namespace tamber::models::viewer
