// Projection, eye placement and axis read-back of a view's camera.
#include "display/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "display/display.h"

Camera::Camera() : right{0.0f, 0.0f, 0.0f}, up{0.0f, 0.0f, 0.0f}, matrix{} {}

void Camera::applyProjection(const Display& display) {
    const bool known = display.currentView >= 0 && display.currentView < MAX_VIEWS;
    const float aspect =
        known ? display.views[display.currentView].pixWidth / display.views[display.currentView].pixHeight
              : 0.0f;
    glMatrixMode(GL_PROJECTION);
    // A view squashed to no height (or an unknown view) would give an infinite or NaN aspect: keep the
    // projection it had rather than load a broken one.
    if (known && display.views[display.currentView].pixHeight > 0.0f && std::isfinite(aspect)) {
        glLoadIdentity();
        gluPerspective(fov, aspect, zNear, zFar);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Camera::applyView() {
    const double d = eyeDistance;
    const Vec3& p = transform.position;
    const Vec3& r = transform.rotation;
    gluLookAt(0.0, 0.0, d, 0.0, 0.0, d - 1.0, 0.0, 1.0, 0.0);
    glRotatef(-r.x, 1.0f, 0.0f, 0.0f);
    glRotatef(-r.y, 0.0f, 1.0f, 0.0f);
    glRotatef(-r.z, 0.0f, 0.0f, 1.0f);
    // z keeps its sign: the pivot lies at the scene point (p.x, p.y, -p.z).
    glTranslatef(-p.x, -p.y, p.z);
    readAxes();
}

void Camera::readAxes() {
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    right = {matrix[0], matrix[4], matrix[8]};
    up = {matrix[1], matrix[5], matrix[9]};
}
