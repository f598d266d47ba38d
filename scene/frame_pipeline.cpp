// Placeholder frame pipeline: clears to the background colour until the real scene lands.
#include "scene/frame_pipeline.h"

#include <GL/gl.h>

void sceneStartup(int width, int height) { glViewport(0, 0, width, height); }

void renderFrame() {
    glClearColor(0.0f, 0.0f, 0.075f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void deleteStarList() {}
