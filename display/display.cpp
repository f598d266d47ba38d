// Views laid out over the window, their viewports and pixel projections, and the per-frame background.
#include "display/display.h"

#include <GL/gl.h>

#include <cstdint>

namespace {
// Truncates towards zero like a plain cast, but defined for any float: NaN gives 0 and values beyond the
// 32-bit range saturate.
GLint truncatePixel(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483648.0f) return INT32_MAX;
    if (v < -2147483648.0f) return INT32_MIN;
    return static_cast<GLint>(v);
}
} // namespace

View::View() {
    computePixels();
}

void View::setNormRect(double l, double b, double r, double t) {
    normLeft = static_cast<float>(l);
    normBottom = static_cast<float>(b);
    normRight = static_cast<float>(r);
    normTop = static_cast<float>(t);
}

void View::setFrame(double l, double b, double r, double t) {
    frameLeft = static_cast<float>(l);
    frameBottom = static_cast<float>(b);
    frameRight = static_cast<float>(r);
    frameTop = static_cast<float>(t);
    frameWidth = static_cast<float>(r - l);
    frameHeight = static_cast<float>(t - b);
}

void View::computePixels() {
    pixLeft = normLeft * frameWidth + frameLeft;
    pixBottom = normBottom * frameHeight + frameBottom;
    pixRight = frameLeft + frameWidth * normRight;
    pixTop = frameBottom + frameHeight * normTop;
    pixWidth = pixRight - pixLeft;
    pixHeight = pixTop - pixBottom;
}

void View::applyViewport() const {
    glViewport(truncatePixel(pixLeft), truncatePixel(pixBottom), truncatePixel(pixWidth),
               truncatePixel(pixHeight));
}

void View::applyOrtho() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(truncatePixel(pixLeft), truncatePixel(pixRight), truncatePixel(pixBottom), truncatePixel(pixTop),
            -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

Display::Display() {
    setSize(100.0f, 100.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    View& whole = views[0];
    whole.letterboxed = 0;
    whole.setNormRect(0.0, 0.0, 1.0, 1.0);
    whole.setFrame(left, bottom, right, top);
    whole.computePixels();
}

void Display::setSize(float w, float h) {
    width = w;
    height = h;
    left = 0.0f;
    bottom = 0.0f;
    right = w;
    top = h;
    areaWidth = right - left;
    areaHeight = top - bottom;
}

void Display::setBackground(float r, float g, float b, float a) {
    backgroundColor[0] = r;
    backgroundColor[1] = g;
    backgroundColor[2] = b;
    backgroundColor[3] = a;
}

void Display::drawBackground() {
    const float w = width;
    const float h = height;
    const float l = letterbox;
    const float a = fadeAlpha;
    glDepthMask(GL_TRUE);
    if (l == 0.0f && a == 1.0f) {
        // The clear colour is the constructor's black, not the background colour.
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    // Each bar reaches one pixel further into the picture than its height.
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(w, 0.0f);
    glVertex2f(w, h * l + 1.0f);
    glVertex2f(0.0f, h * l + 1.0f);
    glVertex2f(0.0f, (1.0f - l) * h - 1.0f);
    glVertex2f(w, (1.0f - l) * h - 1.0f);
    glVertex2f(w, h);
    glVertex2f(0.0f, h);
    glEnd();
    if (a != 1.0f) {
        // Left enabled behind us: the passes that follow switch blending as they need it.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glColor4f(backgroundColor[0], backgroundColor[1], backgroundColor[2], a);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, h * l);
    glVertex2f(w, h * l);
    glVertex2f(w, (1.0f - l) * h - 1.0f);
    glVertex2f(0.0f, (1.0f - l) * h - 1.0f);
    glEnd();
}

void Display::useViewport(std::int32_t i) {
    if (i < 0 || i >= MAX_VIEWS) return;
    currentView = i;
    views[i].applyViewport();
}

void Display::useOrtho(std::int32_t i) {
    if (i < 0 || i >= MAX_VIEWS) return;
    currentView = i;
    views[i].applyOrtho();
}

void Display::layoutViews() {
    // More views than the table holds are laid out as the ten there are.
    const std::int32_t count = viewCount < MAX_VIEWS ? viewCount : MAX_VIEWS;
    for (std::int32_t i = 0; i < count; ++i) {
        View& v = views[i];
        if (v.letterboxed == 0) {
            v.setFrame(left, bottom, right, top);
        } else {
            const double m = static_cast<double>(areaHeight) * static_cast<double>(letterbox);
            v.setFrame(left, bottom + m, right, top - m);
        }
        v.computePixels();
    }
}
