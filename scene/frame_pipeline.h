// The scene's choreography: one start-up when the window is created, one frame per timer tick, and the
// teardown of the star list while the context is still current.
#pragma once

void sceneStartup(int width, int height);
void renderFrame();
void deleteStarList();
