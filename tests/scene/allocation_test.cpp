// The frame pipeline allocates nothing: every C++ heap allocation in the process is counted while frames
// render.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "scene/frame_pipeline.h"
#include "tests/scene/scene_fixture.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<bool> counting{false};
} // namespace

void* operator new(std::size_t size) {
    if (counting.load()) allocations.fetch_add(1);
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
// GCC cannot see that these replace the operators that allocated with malloc above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

class Allocation : public SceneTest {};

TEST_F(Allocation, NoneAcrossTwoHundredFrames) {
    startScene();
    for (int i = 0; i < 20; ++i)
        frame();
    counting = true;
    for (int i = 0; i < 200; ++i)
        frame(i % 7 == 0 ? 120 : 20);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
}
