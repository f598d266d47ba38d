// Textured rectangles and the textured sphere, emitted in immediate mode. Binding, texturing, colour,
// blending, lighting and the transformation are the caller's business: these only send vertices.
#pragma once

// One GL_QUADS rectangle from (x, y) to (x + w, y + h) in the z = 0 plane, the texture once across it.
void drawQuad(float x, float y, float w, float h);
// As drawQuad, with the texture repeated repeatU times across and repeatV times up (needs GL_REPEAT).
void drawTiledQuad(float x, float y, float w, float h, float repeatU, float repeatV);
// As drawTiledQuad, with the texture shifted by (offsetU, offsetV): the scrolling layer.
void drawScrolledQuad(float x, float y, float w, float h, float repeatU, float repeatV, float offsetU,
                      float offsetV);
// A sphere of stacks - 1 triangle strips from the bottom pole up, each of 2 x (slices + 1) vertices with
// unit normals; v runs as i / stacks, so the top edge stops short of vScale. Draws nothing outside 3 to 100
// slices and stacks.
void drawSphere(double radius, int slices, int stacks, double uScale, double vScale, double uOffset,
                double vOffset);
