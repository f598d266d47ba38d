// A flat textured rectangle turned to face the viewer by the camera's billboard angles and spun about its
// own centre. Draws at the current origin; the caller positions it and binds a texture.
#pragma once

class Camera;

class Sprite {
  public:
    float halfWidth = 1.0f;
    float halfHeight = 1.0f;
    float texS0 = 0.0f; // left edge
    float texT0 = 0.0f; // bottom edge
    float texS1 = 1.0f; // right edge
    float texT1 = 1.0f; // top edge

    virtual ~Sprite() = default;

    // spin in degrees about the sprite's own normal; the matrix stack is left as it was.
    void draw(const Camera& camera, double angle) const;
};
