// Default render state: everything not named here keeps OpenGL's initial state (depth test, blending,
// lighting, texturing, fog and culling off); the passes switch on what they need.
#include "shell/render_state.h"

#include <GL/gl.h>

void setDefaultRenderState() {
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // Specular highlights from the true eye position.
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_DITHER);
    // Every glColor sets the ambient and diffuse material of both faces.
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 30);
}
