// Building: the walls storey by storey, one quad strip per wall with a random shade at every column edge,
// and the flat roof. Every quad winds counter-clockwise seen from outside, so culling drops only the inside.
#include "city/building.h"

#include <GL/gl.h>

#include "math/random.h"
#include "textures/texture.h"

namespace {
// The seed of a storey, truncated toward zero; a sum outside the int range gives the integer-indefinite
// value 0x80000000 instead of an undefined conversion.
std::uint32_t storeySeed(double sum) {
    if (!(sum > -2147483649.0 && sum < 2147483648.0)) return 0x80000000u;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(sum));
}

// One wall in its local frame: the plane z = 0, running along +x from 0, facing +z.
void drawWall(const Building& b, float columns, float level, float y0, float y1) {
    glBegin(GL_QUAD_STRIP);
    for (std::int32_t col = 0; col <= columns; ++col) {
        const float shade = static_cast<float>(randRange(1.0) * level);
        glColor3f(shade * b.colorR, shade * b.colorG, shade * b.colorB);
        const float x = static_cast<float>(col * COLUMN_WIDTH);
        glTexCoord2f(static_cast<float>(col), 1.0f);
        glVertex3f(x, y1, 0.0f);
        glTexCoord2f(static_cast<float>(col), 0.0f);
        glVertex3f(x, y0, 0.0f);
    }
    glEnd();
}
} // namespace

void Building::draw() const {
    if (textureIndex >= 0 && textureIndex < TEXTURE_SLOT_COUNT) textureSlots[textureIndex].bind();
    glPushMatrix();
    glTranslatef(posX, posY, posZ);

    const float w = static_cast<float>(columnsX * COLUMN_WIDTH);
    const float d = static_cast<float>(columnsZ * COLUMN_WIDTH);
    for (std::int32_t i = 0; i < floors && i < FLOOR_CAPACITY; ++i) {
        const float level = floorLight[i];
        // Shades depend only on the storey and the building's place, so they are the same every frame.
        seedRandom(storeySeed(i + 100.0 * posX + 100.0 * posZ));
        const float y0 = static_cast<float>(i * FLOOR_HEIGHT);
        const float y1 = static_cast<float>(y0 + FLOOR_HEIGHT);
        // One normal for all four walls: the rotations below turn it outward for each.
        glNormal3f(0.0f, 0.0f, 1.0f);

        drawWall(*this, columnsX, level, y0, y1);

        glPushMatrix();
        glTranslatef(w, 0.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
        drawWall(*this, columnsZ, level, y0, y1);
        glPopMatrix();

        glPushMatrix();
        glTranslatef(w, 0.0f, -d);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        drawWall(*this, columnsX, level, y0, y1);
        glPopMatrix();

        glPushMatrix();
        glTranslatef(0.0f, 0.0f, -d);
        glRotatef(270.0f, 0.0f, 1.0f, 0.0f);
        drawWall(*this, columnsZ, level, y0, y1);
        glPopMatrix();
    }

    // One texture coordinate for the whole roof: it shows the single texel found there.
    glTexCoord2f(0.3f, 0.3f);
    glPushMatrix();
    glTranslatef(0.0f, static_cast<float>(floors * FLOOR_HEIGHT), 0.0f);
    const float r = static_cast<float>(0.2 + randRange(0.3));
    glColor4f(r * colorR, r * colorG, r * colorB, r * colorA);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(w, 0.0f, 0.0f);
    glVertex3f(w, 0.0f, -d);
    glVertex3f(0.0f, 0.0f, -d);
    glEnd();
    glPopMatrix();

    glPopMatrix();
}
