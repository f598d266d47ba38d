// Sprite: the billboard turn, the spin and one counter-clockwise quad facing +z.
#include "effects/sprite.h"

#include <GL/gl.h>

#include "display/camera.h"

void Sprite::draw(const Camera& camera, double angle) const {
    glPushMatrix();
    glRotatef(camera.billboardAngles.z, 0.0f, 0.0f, 1.0f);
    glRotatef(camera.billboardAngles.y, 0.0f, 1.0f, 0.0f);
    glRotatef(camera.billboardAngles.x, 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(texS0, texT0);
    glVertex2f(-halfWidth, -halfHeight);
    glTexCoord2f(texS1, texT0);
    glVertex2f(halfWidth, -halfHeight);
    glTexCoord2f(texS1, texT1);
    glVertex2f(halfWidth, halfHeight);
    glTexCoord2f(texS0, texT1);
    glVertex2f(-halfWidth, halfHeight);
    glEnd();
    glPopMatrix();
}
