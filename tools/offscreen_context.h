// A current OSMesa context drawing into memory, for the renderer and the benchmarks: no display needed.
#pragma once

#include <GL/osmesa.h>

#include <vector>

class Offscreen {
  public:
    // RGBA colour and a 24-bit depth buffer; `ok` says whether it is current.
    Offscreen(int width, int height);
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    int width;
    int height;
    std::vector<unsigned char> pixels;
    OSMesaContext context = nullptr;
    bool ok = false;
};
