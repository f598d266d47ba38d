// StarField: placing and colouring the stars once, and the layered draw of the compiled list.
#include "effects/star_field.h"

#include <GL/gl.h>

#include "display/camera.h"
#include "math/random.h"

namespace {
float coordinate(float h) {
    return static_cast<float>((randRange(2.0) - 1.0) * h);
}

bool insideBallShell(std::int32_t shape, float h, float hi, float x, float y, float z) {
    const float q = static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                       static_cast<double>(z) * z);
    if (!(static_cast<double>(hi) * hi <= q && q <= h)) return false;
    return shape != SHAPE_DOME || y >= 0.0f;
}

std::int32_t layerCount(std::int32_t layers) {
    return layers < 1 ? 1 : layers;
}
} // namespace

void placeInShell(std::int32_t shape, float h, float hi, float& x, float& y, float& z) {
    if (shape == SHAPE_CUBE) {
        x = y = z = 0.0f;
        for (std::int32_t attempt = 0; attempt < MAX_PLACEMENT_ATTEMPTS; ++attempt) {
            x = coordinate(h);
            y = coordinate(h);
            z = coordinate(h);
            const bool hollow = (x < 0 ? -x : x) < hi && (y < 0 ? -y : y) < hi && (z < 0 ? -z : z) < hi;
            if (!hollow) return;
        }
        return;
    }
    for (std::int32_t attempt = 0; attempt < MAX_PLACEMENT_ATTEMPTS; ++attempt) {
        x = coordinate(h);
        y = coordinate(h);
        z = coordinate(h);
        if (insideBallShell(shape, h, hi, x, y, z)) return;
    }
}

StarField::~StarField() {
    release();
}

void StarField::build() {
    const float h = static_cast<float>(outerSize * 0.5);
    if (outerSize * 0.9 < innerSize) innerSize = outerSize * 0.9;
    const float hi = static_cast<float>(innerSize * 0.5 + 0.01);

    release();
    listId = glGenLists(1);
    if (listId == 0) return;

    glNewList(listId, GL_COMPILE);
    glBegin(GL_POINTS);
    const std::int32_t points = starCount / layerCount(layers);
    for (std::int32_t i = 0; i < points; ++i) {
        float x, y, z;
        placeInShell(shape, h, hi, x, y, z);
        // Nine stars in ten are pale; the rest tinted and usually dimmer. Drawn blue, green, red.
        double red, green, blue;
        if (randRange(1.0) < 0.1) {
            blue = randRange(colorBase) + colorSpread;
            green = randRange(colorBase) + colorSpread;
            red = randRange(colorBase) + colorSpread;
        } else {
            blue = randRange(colorSpread) + colorBase;
            green = randRange(colorSpread) + colorBase;
            red = randRange(colorSpread) + colorBase;
        }
        glColor3d(red, green, blue);
        glVertex3d(x, y, z);
    }
    glEnd();
    glEndList();
}

void StarField::draw(const Camera& camera) {
    if (listId == 0) return;
    if (blend != 0) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
    }
    if (depthTest != 0)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(depthWrite != 0 ? GL_TRUE : GL_FALSE);

    glPushMatrix();
    if (followCamera != 0) {
        // The view ends with a translation by (-p.x, -p.y, +p.z): this is the camera's pivot.
        const Vec3& p = camera.transform.position;
        glTranslatef(p.x, p.y, -p.z);
    }
    // The turns accumulate, so the last layer has the list's own orientation.
    const std::int32_t n = layerCount(layers);
    for (std::int32_t i = 0; i < n; ++i) {
        glRotatef(360.0f / static_cast<float>(n), 0.0f, 1.0f, 0.0f);
        glPointSize(static_cast<float>(i + 1));
        glCallList(listId);
    }
    glPopMatrix();

    if (blend != 0) glDisable(GL_BLEND);
    if (depthTest != 0) glDisable(GL_DEPTH_TEST);
}

void StarField::release() {
    if (listId == 0) return;
    glDeleteLists(listId, 1);
    listId = 0;
}
