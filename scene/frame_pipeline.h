// The scene's choreography: one start-up when the window is created, one frame per timer tick, and the
// teardown of the star list while the context is still current.
#pragma once

class Camera;

void sceneStartup(int width, int height);
void renderFrame();
void deleteStarList();

// The steps of a frame, public so tests can run them one at a time.
void animateScene();
void updateCameraPath();
void renderView();
void renderGroundAndCity();
void applySceneToggles();
void restoreSceneToggles();
void drawOverlay();
void drawShadeOverlay();

// The camera of the display's current view.
Camera& currentCamera();
