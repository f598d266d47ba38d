// The star field: coloured points scattered in a hollow shell, compiled once into a display list and drawn
// in a few turned layers of growing point size, centred on the eye when it follows the camera.
// Also the shell placement that the particle cloud shares.
#pragma once

#include <cstdint>

class Camera;

// Placement shapes; any value other than cube and dome is a ball shell.
constexpr std::int32_t SHAPE_BALL = 0;
constexpr std::int32_t SHAPE_CUBE = 1;
constexpr std::int32_t SHAPE_DOME = 2;

// Redraws allowed per point before the placement gives up and keeps its last draw. The shipped shells
// accept a draw about one time in seven; only an empty shell (a hollow as large as the cube) comes near.
constexpr std::int32_t MAX_PLACEMENT_ATTEMPTS = 100000;

// One point in the shell between the hollow of half-size hi and the cube of half-size h. Coordinates are
// drawn as (randRange(2) - 1) * h in the order x, y, z. The cube keeps drawing while all three lie inside
// the hollow; the ball shapes until hi² <= x² + y² + z² <= h (h itself, not h²), the dome also until
// y >= 0.
void placeInShell(std::int32_t shape, float h, float hi, float& x, float& y, float& z);

class StarField {
  public:
    std::uint32_t listId = 0; // 0: no list, nothing to draw
    std::int32_t starCount = 10;
    std::int32_t shape = SHAPE_CUBE;
    std::int32_t blend = 1;
    std::int32_t depthTest = 0;
    std::int32_t depthWrite = 0;
    std::int32_t layers = 1; // below 1 counts as 1
    std::int32_t followCamera = 0;
    std::int32_t useFog = 0; // read by the frame pipeline
    double outerSize = 2.0;  // full edge of the outer cube
    double innerSize = 0.0;  // full edge of the hollow; build lowers it to 0.9 * outerSize
    double colorSpread = 0.3;
    double colorBase = 0.7;

    virtual ~StarField();

    // (Re)creates the list from the fields; needs a current context. starCount / layers points.
    void build();
    // Draws the list once per layer, each layer turned further about the vertical axis.
    void draw(const Camera& camera);
    void release();
};
