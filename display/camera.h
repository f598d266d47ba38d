// The eye of one view: its pose (a Transform), the perspective it projects with, and the right and up
// directions read back after placing it, which camera-facing quads are built from.
#pragma once

#include "math/transform.h"

class Display;

class Camera {
  public:
    Transform transform;
    double fov = 90.0; // vertical, degrees
    // Turn that a billboard sprite applies to face this camera; the camera itself never reads it.
    struct {
        float x, y, z;
    } billboardAngles = {0.0f, 0.0f, 0.0f};
    float zNear = 0.1f;
    float zFar = 100.0f;
    float eyeDistance = 1.0f; // how far the eye sits behind the pivot the rotations turn about
    // First and second rows of the model-view matrix as read back by readAxes: the eye's x and y axes in
    // scene coordinates. Meaningless until the first applyView.
    struct {
        float x, y, z;
    } right, up;
    float matrix[16]; // the model-view matrix as read back, column-major

    Camera();
    virtual ~Camera() = default;

    // Perspective for the display's current view; leaves the model-view matrix selected and the identity.
    void applyProjection(const Display& display);
    // Multiplies the current model-view matrix by the eye transformation, then reads the axes back.
    void applyView();
    void readAxes();
};
