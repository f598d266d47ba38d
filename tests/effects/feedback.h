// Feedback-mode capture for the effect and city tests: what the rasteriser would receive, with window
// coordinates turned back into object coordinates of an orthographic box.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "math/random.h"

struct FeedbackVertex {
    float x, y, z;    // object coordinates (with the modelview identity when captured)
    float r, g, b, a; // current or lit colour
    float s, t;
};

struct FeedbackPrimitive {
    GLenum token; // GL_POINT_TOKEN or GL_POLYGON_TOKEN (Mesa hands polygons over as triangles)
    std::vector<FeedbackVertex> vertices;
};

// Maps the box [-halfExtent, halfExtent] on all three axes onto a square window of `window` pixels.
inline void feedbackBox(float halfExtent, int window) {
    glViewport(0, 0, window, window);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfExtent, halfExtent, -halfExtent, halfExtent, -halfExtent, halfExtent);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Runs draw in feedback mode inside the box that feedbackBox set up. Points and polygons only; anything
// else ends the parse and sets *other.
template <typename Draw>
std::vector<FeedbackPrimitive> captureFeedback(float halfExtent, int window, Draw draw, bool* other = nullptr,
                                               size_t capacity = 2000000) {
    std::vector<float> buffer(capacity);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    const float scale = 2.0f * halfExtent / static_cast<float>(window);
    for (int i = 0; i < used;) {
        const float token = buffer[static_cast<size_t>(i++)];
        int count = 0;
        if (token == GL_POINT_TOKEN) {
            count = 1;
        } else if (token == GL_POLYGON_TOKEN) {
            count = static_cast<int>(buffer[static_cast<size_t>(i++)]);
        } else {
            if (other != nullptr) *other = true;
            break;
        }
        FeedbackPrimitive p{static_cast<GLenum>(token), {}};
        for (int k = 0; k < count; ++k, i += 11) {
            const float* v = &buffer[static_cast<size_t>(i)];
            // glOrtho flips z, and window depth runs from 0 to 1.
            p.vertices.push_back({v[0] * scale - halfExtent, v[1] * scale - halfExtent,
                                  halfExtent * (1.0f - 2.0f * v[2]), v[3], v[4], v[5], v[6], v[7], v[8]});
        }
        primitives.push_back(p);
    }
    if (used < 0 && other != nullptr) *other = true; // overflow
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
