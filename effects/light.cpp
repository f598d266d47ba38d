// Position, switch-on and marker of the light.
#include "effects/light.h"

#include <GL/gl.h>

#include "textures/primitives.h"

namespace {
const GLenum LIGHT_NUMBERS[8] = {GL_LIGHT0,     GL_LIGHT0 + 1, GL_LIGHT0 + 2, GL_LIGHT0 + 3,
                                 GL_LIGHT0 + 4, GL_LIGHT0 + 5, GL_LIGHT0 + 6, GL_LIGHT0 + 7};

bool knownLight(std::int32_t index) {
    return index >= 0 && index < 8;
}
} // namespace

void Light::apply() {
    glPosition[0] = posX;
    glPosition[1] = posY;
    glPosition[2] = posZ;
    if (!knownLight(index)) return;
    const GLenum l = LIGHT_NUMBERS[index];
    glLightfv(l, GL_POSITION, glPosition);
    glLightfv(l, GL_SPOT_DIRECTION, spotDirection);
}

void Light::enable() {
    apply();
    if (!knownLight(index)) return;
    glEnable(LIGHT_NUMBERS[index]);
}

void Light::drawMarker() const {
    glColor3f(colorRed, colorGreen, colorBlue);
    glPushMatrix();
    glTranslatef(posX, posY, posZ);
    drawSphere(markerRadius, 10, 10, 1.0, 1.0, 0.0, 0.0);
    glPopMatrix();
}
