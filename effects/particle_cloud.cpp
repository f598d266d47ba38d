// ParticleCloud: placement in the shared shell, the random-walk step and the camera-facing quads.
#include "effects/particle_cloud.h"

#include <GL/gl.h>

#include "display/camera.h"
#include "math/random.h"
#include "textures/texture.h"

namespace {
// A count set without init may exceed the tables; only the particles they hold take part.
std::int32_t liveCount(std::int32_t count) {
    return count > MAX_PARTICLES ? MAX_PARTICLES : count;
}
} // namespace

void ParticleCloud::init() {
    const float h = static_cast<float>(outerSize * 0.5);
    if (count >= MAX_PARTICLES) count = MAX_PARTICLES;
    if (outerSize * 0.9 < innerSize) innerSize = static_cast<float>(outerSize * 0.9);
    const float hi = static_cast<float>(innerSize * 0.5 + 0.01);

    for (std::int32_t i = 0; i < count; ++i) {
        float x, y, z;
        placeInShell(shape, h, hi, x, y, z);
        // Nine in ten pale, the rest tinted; drawn red, green, blue.
        if (randRange(1.0) < 0.1) {
            colorR[i] = static_cast<float>(randRange(static_cast<double>(colorBase)) + colorSpread);
            colorG[i] = static_cast<float>(randRange(static_cast<double>(colorBase)) + colorSpread);
            colorB[i] = static_cast<float>(randRange(static_cast<double>(colorBase)) + colorSpread);
        } else {
            colorR[i] = static_cast<float>(randRange(static_cast<double>(colorSpread)) + colorBase);
            colorG[i] = static_cast<float>(randRange(static_cast<double>(colorSpread)) + colorBase);
            colorB[i] = static_cast<float>(randRange(static_cast<double>(colorSpread)) + colorBase);
        }
        posX[i] = x;
        posY[i] = y;
        posZ[i] = z;
        // Draws nothing here depends on, kept so the sequence after the cloud stays where it was.
        if (randRange(1.0) < 0.25) {
            randPow(2);
            randRange(20.0);
        }
    }
}

void ParticleCloud::step(float dt, float kick) {
    const float halfKick = static_cast<float>(kick * 0.5);
    if (count == 0) return;
    const std::int32_t n = liveCount(count);
    for (std::int32_t i = 0; i < n; ++i) {
        posX[i] += dt * velX[i];
        posY[i] += dt * velY[i];
        posZ[i] += dt * velZ[i];
        if (!(randRange(1.0) < dt)) continue;
        const std::int32_t axis = static_cast<std::int32_t>(randRange(3.0));
        const float v = static_cast<float>(randRange(static_cast<double>(kick)) - halfKick);
        if (axis == 0)
            velX[i] = v;
        else if (axis == 1)
            velY[i] = v;
        else
            velZ[i] = v;
    }
}

void ParticleCloud::draw(const Camera& camera, float alphaFactor) const {
    if (count == 0) return;
    if (alphaTest != 0) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, alphaRef);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    if (blend != 0) {
        blendByIndex(blendSrc, blendDst);
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    if (depthTest != 0)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthMask(depthWrite != 0 ? GL_TRUE : GL_FALSE);
    if (texture != nullptr) {
        glEnable(GL_TEXTURE_2D);
        texture->bind();
    }

    const float rx = quadSize * camera.right.x, ry = quadSize * camera.right.y,
                rz = quadSize * camera.right.z;
    const float ux = quadSize * camera.up.x, uy = quadSize * camera.up.y, uz = quadSize * camera.up.z;
    const float a = alphaFactor * alpha;
    const std::int32_t n = liveCount(count);
    for (std::int32_t i = 0; i < n; ++i) {
        const float px = posX[i], py = posY[i], pz = posZ[i];
        glColor4f(colorR[i], colorG[i], colorB[i], a);
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(px - rx - ux, py - ry - uy, pz - rz - uz);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(px + rx - ux, py + ry - uy, pz + rz - uz);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(px + rx + ux, py + ry + uy, pz + rz + uz);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(px - rx + ux, py - ry + uy, pz - rz + uz);
        glEnd();
    }

    if (alphaTest != 0) glDisable(GL_ALPHA_TEST);
    if (blend != 0) glDisable(GL_BLEND);
    if (depthTest != 0) glDisable(GL_DEPTH_TEST);
    if (depthWrite != 0) glDepthMask(GL_FALSE);
    if (texture != nullptr) glDisable(GL_TEXTURE_2D);
}
