#pragma once
// The geometry viewer's camera: it circles a target point at a distance, and
// pans, rotates and zooms by mouse movement.
#include "models/Model.h"

namespace tamber::models::viewer {

struct OrbitCamera {
    float target[3] = {0, 0, 0};
    float distance = 1;
    float yaw = 30;    // degrees around the vertical axis
    float pitch = 20;  // degrees above the horizon
    float extent = 1;  // the framed box's diagonal: sets pan and zoom rates and limits

    // Looks at the centre of the model's bounding box from 1.5 diagonals away.
    void Frame(const Model& model);
    // Mouse movement in pixels.
    void Pan(int dx, int dy);
    void Rotate(int dx, int dy);
    void Zoom(int dy);
    // Multiplies the current OpenGL matrix by the view transform.
    void Apply() const;
    // Near and far clipping distances that hold the framed box.
    float Near() const;
    float Far() const;
};

}  // namespace tamber::models::viewer
