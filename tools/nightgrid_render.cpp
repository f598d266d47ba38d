// nightgrid-render: runs the real scene start-up and frames on an offscreen OSMesa context under a
// simulated clock and writes PNG files; also writes the generated textures, lists the generated city, and
// times start-up and frames on the real clock.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "city/city.h"
#include "scene/frame_pipeline.h"
#include "scene/scene_config.h"
#include "scene/scene_globals.h"
#include "shell/render_state.h"
#include "tools/offscreen_context.h"
#include "tools/png_image.h"

namespace {

struct Options {
    int width = 1280;
    int height = 720;
    int frames = 90;
    int intervalMs = 33;
    std::int64_t firstMs = 1000;
    std::string out = "out/flight";
    std::string texturesDir;
    bool city = false;
    bool bench = false;
};

// The simulated clock: 64-bit milliseconds, read the way the platform counter reads, as a wrapping int.
std::int64_t simulatedMs = 0;
int simulatedReading() {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(simulatedMs)));
}

// Creates the folder and its parents; true when it is there afterwards.
bool makeDirs(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

void usage() {
    std::puts(
        "usage: nightgrid-render [--size WxH] [--frames N] [--interval-ms M] [--first-ms N] [--out DIR]\n"
        "       nightgrid-render --textures DIR [--first-ms N]\n"
        "       nightgrid-render --city [--first-ms N]\n"
        "       nightgrid-render --bench [--frames N]");
}

bool parseInt64(const char* text, std::int64_t& value) {
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0') return false;
    value = v;
    return true;
}

bool parsePositive(const char* text, int& value, int limit) {
    std::int64_t v = 0;
    if (!parseInt64(text, v) || v < 1 || v > limit) return false;
    value = static_cast<int>(v);
    return true;
}

bool parseArguments(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--size" && hasValue) {
            int w = 0, h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2 || w < 1 || h < 1 || w > 8192 || h > 8192)
                return false;
            o.width = w;
            o.height = h;
        } else if (a == "--frames" && hasValue) {
            if (!parsePositive(argv[++i], o.frames, 1000000)) return false;
        } else if (a == "--interval-ms" && hasValue) {
            if (!parsePositive(argv[++i], o.intervalMs, 86400000)) return false;
        } else if (a == "--first-ms" && hasValue) {
            if (!parseInt64(argv[++i], o.firstMs)) return false;
        } else if (a == "--out" && hasValue) {
            o.out = argv[++i];
        } else if (a == "--textures" && hasValue) {
            o.texturesDir = argv[++i];
        } else if (a == "--city") {
            o.city = true;
        } else if (a == "--bench") {
            o.bench = true;
        } else {
            return false;
        }
    }
    return true;
}

// The scene's own start-up, on a simulated clock that first reads `firstMs`.
void startScene(const Offscreen& gl, std::int64_t firstMs) {
    simulatedMs = firstMs;
    frameClockSource = simulatedReading;
    setDefaultRenderState();
    sceneStartup(gl.width, gl.height);
}

// Vertices one frame's building pass sends: per storey four quad strips of two vertices per column edge,
// then the four roof corners.
long buildingPassVertexCount() {
    long vertices = 0;
    for (int i = 0; i < buildingCount; ++i) {
        const Building& b = buildings[i];
        const long edgesX = b.columnsX >= 0.0f ? static_cast<long>(b.columnsX) + 1 : 0;
        const long edgesZ = b.columnsZ >= 0.0f ? static_cast<long>(b.columnsZ) + 1 : 0;
        long storeys = 0;
        while (storeys < FLOOR_CAPACITY && static_cast<float>(storeys) < b.floors)
            ++storeys;
        vertices += storeys * 4 * (edgesX + edgesZ) + 4;
    }
    return vertices;
}

const char* const KIND_FILE_NAMES[9] = {"smoke",     "sand",  "ring",     "star",  "sphere",
                                        "notsphere", "check", "gradient", "grille"};

int writeTextures(const Options& o) {
    Offscreen gl(64, 64);
    if (!gl.ok || !makeDirs(o.texturesDir)) {
        std::fprintf(stderr, "nightgrid-render: cannot make an offscreen context or %s\n",
                     o.texturesDir.c_str());
        return 1;
    }
    startScene(gl, o.firstMs);
    Image image;
    for (int slot = 0; slot < 9; ++slot) {
        const Texture& t = textureSlots[slot];
        image.width = t.width;
        image.height = t.height;
        image.rgba.assign(static_cast<size_t>(t.width) * static_cast<size_t>(t.height) * 4u, 0);
        glBindTexture(GL_TEXTURE_2D, t.glName);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        // Texture rows run bottom-up like the framebuffer's; keep row 0 of the image as row 0 of the file.
        const std::string path =
            o.texturesDir + "/slot" + std::to_string(slot) + "-" + KIND_FILE_NAMES[slot] + ".png";
        if (!writePng(path, image)) {
            std::fprintf(stderr, "nightgrid-render: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}

int listCity(const Options& o) {
    Offscreen gl(64, 64);
    if (!gl.ok) return 1;
    startScene(gl, o.firstMs);
    long storeys = 0;
    std::printf("# first clock reading %lld ms, seed %u\n", static_cast<long long>(o.firstMs),
                sceneSeed(static_cast<double>(o.firstMs)));
    std::printf("# index  posX posY posZ  columnsX columnsZ floors  colour(r g b)  texture  "
                "material(ambient diffuse specular shininess)\n");
    for (int i = 0; i < buildingCount; ++i) {
        const Building& b = buildings[i];
        std::printf("%3d  %6.3f %6.3f %6.3f  %2.0f %2.0f %4.0f  %.3f %.3f %.3f  %d  %.3f %.3f %.3f %d\n", i,
                    b.posX, b.posY, b.posZ, b.columnsX, b.columnsZ, b.floors, b.colorR, b.colorG, b.colorB,
                    b.textureIndex, b.material.ambientScale, b.material.diffuseScale,
                    b.material.specularScale, b.material.shininess);
        if (b.floors > 0) storeys += static_cast<long>(b.floors);
    }
    std::printf("# %d buildings, %ld storeys in all, %ld vertices per frame in the building pass\n",
                buildingCount, storeys, buildingPassVertexCount());
    return 0;
}

// A contact sheet: up to 16 frames spread over the flight, each a quarter of the size.
void addToSheet(Image& sheet, const Image& frame, int cell) {
    const int cw = sheet.width / 4, ch = sheet.height / 4;
    const int cx = (cell % 4) * cw, cy = (cell / 4) * ch;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const std::uint8_t* src = frame.at(x * frame.width / cw, y * frame.height / ch);
            std::uint8_t* dst = &sheet.rgba[(static_cast<size_t>(cy + y) * sheet.width + (cx + x)) * 4u];
            std::memcpy(dst, src, 4);
            dst[3] = 255;
        }
}

int renderFlight(const Options& o) {
    Offscreen gl(o.width, o.height);
    if (!gl.ok || !makeDirs(o.out)) {
        std::fprintf(stderr, "nightgrid-render: cannot make an offscreen context or %s\n", o.out.c_str());
        return 1;
    }
    startScene(gl, o.firstMs);
    Image frame;
    frame.width = o.width;
    frame.height = o.height;
    frame.rgba.resize(static_cast<size_t>(o.width) * static_cast<size_t>(o.height) * 4u);
    Image sheet;
    sheet.width = std::max(4, (o.width / 4) * 4);
    sheet.height = std::max(4, (o.height / 4) * 4);
    sheet.rgba.assign(static_cast<size_t>(sheet.width) * static_cast<size_t>(sheet.height) * 4u, 0);
    const int cells = std::min(16, o.frames);
    int nextCell = 0;
    char name[64];
    for (int f = 0; f < o.frames; ++f) {
        simulatedMs += o.intervalMs;
        renderFrame();
        glFinish();
        readPixelsInto(frame);
        for (size_t i = 3; i < frame.rgba.size(); i += 4)
            frame.rgba[i] = 255; // the screen has no alpha
        std::snprintf(name, sizeof name, "/frame-%05d.png", f);
        if (!writePng(o.out + name, frame)) {
            std::fprintf(stderr, "nightgrid-render: cannot write %s%s\n", o.out.c_str(), name);
            return 1;
        }
        if (nextCell < cells && f == static_cast<int>(static_cast<long long>(nextCell) * o.frames / cells))
            addToSheet(sheet, frame, nextCell++);
    }
    writePng(o.out + "/contact-sheet.png", sheet);
    std::printf("Rendered %d frames of %dx%d (%d ms apart, first clock reading %lld ms) to %s\n", o.frames,
                o.width, o.height, o.intervalMs, static_cast<long long>(o.firstMs), o.out.c_str());
    std::printf("Contact sheet: %s/contact-sheet.png\n", o.out.c_str());
    return 0;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
    double startupMs;
    double medianMs;
    double p95Ms;
};

Timing percentileOf(std::vector<double>& samples, double startupMs) {
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    return {startupMs, samples[n / 2], samples[std::min(n - 1, (n * 95) / 100)]};
}

// Times the real start-up and frames on the real clock, and a frame that only clears and finishes.
int bench(const Options& o) {
    const int sizes[2][2] = {{1920, 1080}, {640, 480}};
    const int frames = o.frames < 60 ? 300 : o.frames;
    for (const auto& size : sizes) {
        std::vector<double> samples(static_cast<size_t>(frames));
        Timing scene{}, empty{};
        {
            const auto start = std::chrono::steady_clock::now();
            Offscreen gl(size[0], size[1]);
            if (!gl.ok) return 1;
            frameClockSource = glutElapsedMilliseconds;
            lastBoundTexture = ~0u; // a new context has none of the old texture objects bound
            setDefaultRenderState();
            sceneStartup(gl.width, gl.height);
            renderFrame();
            glFinish();
            const double startup = millisecondsSince(start);
            for (int f = 0; f < frames; ++f) {
                const auto t = std::chrono::steady_clock::now();
                renderFrame();
                glFinish();
                samples[static_cast<size_t>(f)] = millisecondsSince(t);
            }
            scene = percentileOf(samples, startup);
            deleteStarList();
        }
        {
            Offscreen gl(size[0], size[1]);
            const auto start = std::chrono::steady_clock::now();
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glFinish();
            const double startup = millisecondsSince(start);
            for (int f = 0; f < frames; ++f) {
                const auto t = std::chrono::steady_clock::now();
                glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                glFinish();
                samples[static_cast<size_t>(f)] = millisecondsSince(t);
            }
            empty = percentileOf(samples, startup);
        }
        std::printf("%dx%d  scene: first frame after %.1f ms, frame median %.2f ms, p95 %.2f ms  |  "
                    "clear only: median %.2f ms, p95 %.2f ms  (%d frames, OSMesa)\n",
                    size[0], size[1], scene.startupMs, scene.medianMs, scene.p95Ms, empty.medianMs,
                    empty.p95Ms, frames);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseArguments(argc, argv, o)) {
        usage();
        return 2;
    }
    if (!o.texturesDir.empty()) return writeTextures(o);
    if (o.city) return listCity(o);
    if (o.bench) return bench(o);
    return renderFlight(o);
}
