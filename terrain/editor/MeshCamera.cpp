#include "terrain/editor/MeshCamera.h"

#include <cmath>
#include <numbers>

namespace tamber::terrain::painting {

namespace {

constexpr double kRadians = std::numbers::pi / 180;
constexpr double kStep = 0.5;

double WrapDegrees(double degrees) {
    degrees = std::fmod(degrees, 360.0);
    return degrees < 0 ? degrees + 360 : degrees;
}

}  // namespace

bool CameraKeys::Any() const {
    return forward || back || right || left || climb || dive || yawLeft || yawRight || orbitLeft || orbitRight ||
           pitchUp || pitchDown;
}

double MeshCamera::FocusDistance() const {
    const double t = std::tan(-pitch * kRadians);
    return std::fabs(t) < 1e-6 ? 0 : y / t;
}

void MeshCamera::Tick(const CameraKeys& keys) {
    const double a = -yaw * kRadians, p = -pitch * kRadians;
    const double fx = std::sin(a), fz = -std::cos(a);  // horizontal forward
    const double rx = std::cos(a), rz = std::sin(a);   // horizontal right
    double mx = 0, mz = 0;
    if (keys.forward) mx += fx, mz += fz;
    if (keys.back) mx -= fx, mz -= fz;
    if (keys.right) mx += rx, mz += rz;
    if (keys.left) mx -= rx, mz -= rz;
    if (const double length = std::hypot(mx, mz); length > 1e-9)
        x += mx / length * kStep, z += mz / length * kStep;
    if (keys.climb) x += fx, z += fz, y -= std::sin(p);
    if (keys.dive) x -= fx, z -= fz, y += std::sin(p);
    if (keys.yawLeft) yaw += 2;
    if (keys.yawRight) yaw -= 2;
    if (keys.orbitLeft || keys.orbitRight) {
        const double d = FocusDistance();
        const double focusX = x + fx * d, focusZ = z + fz * d;
        yaw += keys.orbitLeft ? -2 : 2;
        const double b = -yaw * kRadians;
        x = focusX - std::sin(b) * d, z = focusZ + std::cos(b) * d;
    }
    if (keys.pitchUp) pitch += 1;
    if (keys.pitchDown) pitch -= 1;
    yaw = WrapDegrees(yaw);
}

double MeshCamera::FieldOfView(int width, int height) {
    const double aspect = height > 0 ? double(width) / height : 4.0 / 3;
    return 2 * std::atan(std::tan(25 * kRadians) * aspect / (4.0 / 3)) / kRadians;
}

std::array<double, 3> MeshCamera::Ray(double ndcX, double ndcY, int width, int height) const {
    const double aspect = height > 0 ? double(width) / height : 4.0 / 3;
    const double t = std::tan(FieldOfView(width, height) * kRadians / 2);
    // In camera space, then turned by the pitch (about x) and the yaw (about y).
    const double cx = ndcX * t * aspect, cy = ndcY * t, cz = -1;
    const double pc = std::cos(pitch * kRadians), ps = std::sin(pitch * kRadians);
    const double py = cy * pc - cz * ps, pz = cy * ps + cz * pc;
    const double yc = std::cos(yaw * kRadians), ys = std::sin(yaw * kRadians);
    return {cx * yc + pz * ys, py, -cx * ys + pz * yc};
}

}  // namespace tamber::terrain::painting
