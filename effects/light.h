// The scene's one positional light: where it stands, which GL light it drives, and the small sphere that
// marks it. Its colours are programmed per building by the building's material, not here.
#pragma once

#include <cstdint>

class Light {
  public:
    std::int32_t index = 0; // drives GL_LIGHT0 + index; outside 0 to 7 the GL calls are skipped
    float markerRadius = 1.0f;
    float glPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f}; // w = 1: positional
    float spotDirection[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float posX = 1.0f, posY = 1.0f, posZ = 1.0f; // world coordinates
    // Base colour, kept in this order (red, blue, green).
    float colorRed = 1.0f, colorBlue = 1.0f, colorGreen = 1.0f;

    virtual ~Light() = default;

    // Hands position and spot direction to GL, transformed by the model-view matrix current now.
    void apply();
    void enable();
    // A sphere of markerRadius at the light's position in its base colour, in the caller's render state.
    void drawMarker() const;
};
