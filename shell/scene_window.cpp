// The system's own window procedure, the only place that touches the scene: the rendering context and the
// scene start-up on creation, one frame and a buffer swap per timer tick, and the teardown on destruction.
// No call's result is checked: a failed context leaves the black window running until input closes it.
#include "scene/frame_pipeline.h"
#include "shell/render_context.h"
#include "shell/render_state.h"
#include "shell/saver_shell.h"

int clientWidth = 0;
int clientHeight = 0;
HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;

LRESULT CALLBACK sceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client = {0, 0, 0, 0};
        GetClientRect(window, &client);
        clientWidth = client.right;
        clientHeight = client.bottom;
        createRenderContext(window, deviceContext, renderContext);
        setDefaultRenderState();
        sceneStartup(clientWidth, clientHeight);
        SetTimer(window, FRAME_TIMER_ID, FRAME_TIMER_PERIOD_MS, nullptr);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, FRAME_TIMER_ID);
        // The star list goes while its context is still current.
        deleteStarList();
        releaseRenderContext(window, deviceContext, renderContext);
        deviceContext = nullptr;
        renderContext = nullptr;
        return 0;
    case WM_TIMER:
        renderFrame();
        SwapBuffers(deviceContext);
        return 0;
    }
    return defaultSaverProc(window, message, wParam, lParam);
}
