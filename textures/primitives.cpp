// Immediate-mode rectangles and sphere. Texture coordinates of the rectangles go out in double precision;
// the sphere works in single precision like the rest of the geometry and scales its vertices in double.
#include "textures/primitives.h"

#include <GL/gl.h>

#include <cmath>

namespace {
// 2 pi and pi rounded to single precision: the sphere's steps are computed from exactly these.
constexpr float SPHERE_TWO_PI = 6.2831855f;
constexpr float SPHERE_PI = 3.1415927f;

void emitCorner(double s, double t, float x, float y) {
    glTexCoord2d(s, t);
    glVertex2f(x, y);
}
} // namespace

void drawQuad(float x, float y, float w, float h) {
    glBegin(GL_QUADS);
    emitCorner(0.0, 0.0, x, y);
    emitCorner(1.0, 0.0, x + w, y);
    emitCorner(1.0, 1.0, x + w, y + h);
    emitCorner(0.0, 1.0, x, y + h);
    glEnd();
}

void drawTiledQuad(float x, float y, float w, float h, float repeatU, float repeatV) {
    glBegin(GL_QUADS);
    emitCorner(0.0, 0.0, x, y);
    emitCorner(repeatU, 0.0, x + w, y);
    emitCorner(repeatU, repeatV, x + w, y + h);
    emitCorner(0.0, repeatV, x, y + h);
    glEnd();
}

void drawScrolledQuad(float x, float y, float w, float h, float repeatU, float repeatV, float offsetU,
                      float offsetV) {
    const double u0 = offsetU;
    const double v0 = offsetV;
    const double u1 = static_cast<double>(repeatU) + offsetU;
    const double v1 = static_cast<double>(repeatV) + offsetV;
    glBegin(GL_QUADS);
    emitCorner(u0, v0, x, y);
    emitCorner(u1, v0, x + w, y);
    emitCorner(u1, v1, x + w, y + h);
    emitCorner(u0, v1, x, y + h);
    glEnd();
}

void drawSphere(double radius, int slices, int stacks, double uScale, double vScale, double uOffset,
                double vOffset) {
    if (slices < 3 || stacks < 3 || slices > 100 || stacks > 100) return;
    const float dTheta = SPHERE_TWO_PI / static_cast<float>(slices);
    const float dPhi = SPHERE_PI / static_cast<float>(stacks - 1);
    for (int i = 0; i < stacks - 1; ++i) {
        const float phi0 = static_cast<float>(i) * dPhi;
        const float phi1 = static_cast<float>(i + 1) * dPhi;
        const float y0 = -std::cos(phi0);
        const float y1 = -std::cos(phi1);
        const float sinPhi0 = std::sin(phi0);
        const float sinPhi1 = std::sin(phi1);
        const float fracLower = static_cast<float>(i) / static_cast<float>(stacks);
        const float fracUpper = static_cast<float>(i + 1) / static_cast<float>(stacks);
        const float vLower = static_cast<float>(fracLower * vScale + vOffset);
        const float vUpper = static_cast<float>(fracUpper * vScale + vOffset);
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k <= slices; ++k) {
            const float fracU = static_cast<float>(k) / static_cast<float>(slices);
            const float u = static_cast<float>(fracU * uScale + uOffset);
            // The closing column reuses theta 0 so the seam meets the first column exactly.
            const float theta = k == slices ? 0.0f : static_cast<float>(k) * dTheta;
            const float sinTheta = std::sin(theta);
            const float cosTheta = std::cos(theta);
            const float p1x = sinPhi1 * sinTheta;
            const float p1z = sinPhi1 * cosTheta;
            const float p0x = sinPhi0 * sinTheta;
            const float p0z = sinPhi0 * cosTheta;
            glNormal3f(p1x, y1, p1z);
            glTexCoord2f(u, vUpper);
            glVertex3d(radius * p1x, radius * y1, radius * p1z);
            glNormal3f(p0x, y0, p0z);
            glTexCoord2f(u, vLower);
            glVertex3d(radius * p0x, radius * y0, radius * p0z);
        }
        glEnd();
    }
}
