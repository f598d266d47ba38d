// Feedback-mode capture for the effect and city tests: what the rasteriser would receive, with window
// coordinates turned back into object coordinates of an orthographic box.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "math/random.h"

struct FeedbackVertex {
    float x, y, z;    // object coordinates of the box
    float r, g, b, a; // current or lit colour
    float s, t;
};

// One point, or one polygon (Mesa hands every polygon over as triangles).
struct FeedbackPrimitive {
    std::vector<FeedbackVertex> vertices;
};

// Maps the box [-half, half] on all three axes onto a square window of `window` pixels.
inline void feedbackBox(float half, int window) {
    glViewport(0, 0, window, window);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -half, half);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Runs draw in feedback mode inside the box that feedbackBox set up; points and polygons only.
template <typename Draw> std::vector<FeedbackPrimitive> captureFeedback(float half, int window, Draw draw) {
    std::vector<float> buffer(2000000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    const float scale = 2.0f * half / static_cast<float>(window);
    for (size_t i = 0; i < static_cast<size_t>(used > 0 ? used : 0);) {
        const float token = buffer[i++];
        if (token != GL_POINT_TOKEN && token != GL_POLYGON_TOKEN) break;
        const int count = token == GL_POINT_TOKEN ? 1 : static_cast<int>(buffer[i++]);
        FeedbackPrimitive p;
        for (int k = 0; k < count; ++k, i += 11) {
            const float* v = &buffer[i];
            // glOrtho flips z, and window depth runs from 0 to 1.
            p.vertices.push_back({v[0] * scale - half, v[1] * scale - half, half * (1.0f - 2.0f * v[2]), v[3],
                                  v[4], v[5], v[6], v[7], v[8]});
        }
        primitives.push_back(p);
    }
    return primitives;
}

// The generator's state `draws` numbers after `seed`; the shared generator is left where it was.
inline std::uint32_t stateAfterDraws(std::uint32_t seed, long draws) {
    const std::uint32_t saved = randomState();
    seedRandom(seed);
    for (long i = 0; i < draws; ++i)
        nextRandom();
    const std::uint32_t state = randomState();
    seedRandom(saved);
    return state;
}
