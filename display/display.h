// The screen: the window's size, up to ten views (rectangles of the window, each with its own camera), the
// background painted every frame (letterbox bars and a possibly translucent fill that lets earlier frames
// fade out), and the viewport and pixel projection of a chosen view.
#pragma once

#include <cstdint>

#include "display/camera.h"

constexpr std::int32_t MAX_VIEWS = 10;

class View {
  public:
    Camera camera;
    std::int32_t letterboxed = 0; // non-zero: the frame is shrunk by the letterbox bars
    // The rectangle as fractions of the frame.
    float normLeft = 0.0f, normBottom = 0.0f, normRight = 1.0f, normTop = 1.0f;
    // The rectangle in window pixels, origin at the bottom left; derived by computePixels.
    float pixLeft = 0.0f, pixBottom = 0.0f, pixRight = 0.0f, pixTop = 0.0f;
    float pixWidth = 0.0f, pixHeight = 0.0f;
    // The pixel rectangle the fractions refer to.
    float frameLeft = 0.0f, frameBottom = 0.0f, frameRight = 100.0f, frameTop = 100.0f;
    float frameWidth = 100.0f, frameHeight = 100.0f;

    View();
    virtual ~View() = default;

    void setNormRect(double left, double bottom, double right, double top);
    void setFrame(double left, double bottom, double right, double top);
    void computePixels();
    void applyViewport() const;
    void applyOrtho() const;
};

class Display {
  public:
    float areaWidth = 100.0f;
    float areaHeight = 100.0f;
    float fadeAlpha = 1.0f; // opacity of the fill between the bars; below 1 earlier frames show through
    float left = 0.0f, top = 100.0f, right = 100.0f, bottom = 0.0f; // drawing area in window pixels
    float backgroundColor[4] = {0.0f, 0.0f, 0.0f, 1.0f};            // its alpha is never painted
    float width = 100.0f;
    float height = 100.0f;
    float letterbox = 0.0f; // height of each bar as a fraction of the window height
    std::int32_t viewCount = 1;
    std::int32_t currentView = 0;
    View views[MAX_VIEWS];

    // Sets the GL clear colour to black, so it needs a current context to have any effect.
    Display();
    virtual ~Display() = default;

    void setSize(float w, float h);
    void setBackground(float r, float g, float b, float a);
    void drawBackground();
    // Both select view i; an index outside the views is refused and changes nothing.
    void useViewport(std::int32_t i);
    void useOrtho(std::int32_t i);
    void layoutViews();
};
