// Placement and the ready-made motions of a body.
#include "math/transform.h"

#include <GL/gl.h>

#include <cmath>

#include "math/random.h"

const float PATH_PHASES[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

Transform::Transform() {
    reset();
    pathAmplitude.set(10.0f, 10.0f, 10.0f);
    pathCentre.set(0.0f, 0.0f, 0.0f);
    turnAmplitude.set(20.0f, 720.0f, 0.0f);
    turnCentre.set(0.0f, 0.0f, 0.0f);
    target.set(0.0f, 0.0f, 0.0f);
    pathPace = 1.0f;
    turnPace = 1.0f;
    reset();
    shakeFreq = {40.0f, 50.0f, 60.0f};
    wrapAngles = 0;
}

void Transform::reset() {
    position.set(0.0f, 0.0f, 0.0f);
    velocity.set(0.0f, 0.0f, 0.0f);
    acceleration.set(0.0f, 0.0f, 0.0f);
    rotation.set(0.0f, 0.0f, 0.0f);
    spin.set(0.0f, 0.0f, 0.0f);
    shakeOffset.set(0.0f, 0.0f, 0.0f);
    target.set(0.0f, 0.0f, 0.0f);
    mode = 0;
}

void Transform::applyToMatrix() const {
    glTranslatef(position.x, position.y, position.z);
    if (rotation.y != 0.0f) glRotatef(rotation.y, 0.0f, 1.0f, 0.0f);
    if (rotation.x != 0.0f) glRotatef(rotation.x, 1.0f, 0.0f, 0.0f);
    if (rotation.z != 0.0f) glRotatef(rotation.z, 0.0f, 0.0f, 1.0f);
}

void Transform::integrate(float dt) {
    velocity += acceleration * dt;
    position += velocity * dt;
    acceleration.set(0.0f, 0.0f, 0.0f);
}

void Transform::turn(float dt) {
    rotation += spin * dt;
    if (wrapAngles != 0) {
        rotation.x = wrapRange(rotation.x, 0.0f, 360.0f);
        rotation.y = wrapRange(rotation.y, 0.0f, 360.0f);
    }
}

// Values stored into float fields are computed in double and converted at the store.
void Transform::shake(float dt) {
    if (shakeAmount == 0.0f) return;
    shakeAmount = static_cast<float>(shakeAmount * (1.0 - dt * 3.0));
    if (shakeAmount >= 0.01f) {
        shakeOffset.x = static_cast<float>(std::sin(dt * static_cast<double>(shakeFreq.x)) * shakeAmount);
        shakeOffset.y = static_cast<float>(std::sin(dt * static_cast<double>(shakeFreq.y)) * shakeAmount);
        shakeOffset.z = static_cast<float>(std::sin(dt * static_cast<double>(shakeFreq.z)) * shakeAmount);
    } else {
        shakeAmount = 0.0f;
        shakeFreq.x = static_cast<float>(randRange(50.0) + 25.0);
        shakeFreq.y = static_cast<float>(randRange(50.0) + 25.0);
        shakeFreq.z = static_cast<float>(randRange(50.0) + 25.0);
    }
}

namespace {
float sinePath(double angle, float amplitude, float centre) {
    return static_cast<float>(std::sin(angle) * amplitude + centre);
}
float cosinePath(double angle, float amplitude, float centre) {
    return static_cast<float>(std::cos(angle) * amplitude + centre);
}
} // namespace

void Transform::animate(float t, float u) {
    if (mode == 1) {
        const double td = t;
        position.x = sinePath(td * 0.1 * pathPace + PATH_PHASES[0], pathAmplitude.x, pathCentre.x);
        position.y = cosinePath(td * 0.12 * pathPace + PATH_PHASES[1], pathAmplitude.y, pathCentre.y);
        position.z = cosinePath(td * 0.14 * pathPace + PATH_PHASES[2], pathAmplitude.z, pathCentre.z);
        aimAngles(position, target, rotation.x, rotation.y);
    } else if (mode == 2) {
        const double s = u * 0.2 * pathPace;
        position.x = sinePath(s + PATH_PHASES[0], pathAmplitude.x, pathCentre.x);
        position.y = cosinePath(s + PATH_PHASES[1], pathAmplitude.y, pathCentre.y);
        position.z = cosinePath(s + PATH_PHASES[2], pathAmplitude.z, pathCentre.z);
        const double r = t * 0.01 * turnPace;
        rotation.x = sinePath(r + PATH_PHASES[3], turnAmplitude.x, turnCentre.x);
        rotation.y = sinePath(r + PATH_PHASES[4], turnAmplitude.y, turnCentre.y);
    }
}
