#pragma once
// The mesh editor's flying camera: a position in view space (x mirrored from the
// map, y the height in cells, z as the map's), a yaw and a pitch in degrees, moved
// by the camera keys once per tick (60 a second).
#include <array>

namespace tamber::terrain::painting {

// The camera keys held during a tick.
struct CameraKeys {
    bool forward = false, back = false;        // W, S
    bool right = false, left = false;          // X, Z
    bool climb = false, dive = false;          // C, V: along the view direction
    bool yawLeft = false, yawRight = false;    // A, D
    bool orbitLeft = false, orbitRight = false;  // Q, E
    bool pitchUp = false, pitchDown = false;   // O, P

    bool Any() const;
};

struct MeshCamera {
    double x = 0, y = 50, z = 0;
    double yaw = 135, pitch = -27;

    // The horizontal distance to the ground point the camera looks at.
    double FocusDistance() const;
    // Applies one tick of the held keys.
    void Tick(const CameraKeys& keys);
    // The vertical field of view in degrees for a view of width x height pixels.
    static double FieldOfView(int width, int height);
    // The direction, in view space, of the ray through a point of the view given in
    // normalised device coordinates (-1 to 1, y up).
    std::array<double, 3> Ray(double ndcX, double ndcY, int width, int height) const;
};

}  // namespace tamber::terrain::painting
