#include "sim/world/stage.h"

#include "sim/world/shapetests.h"

namespace sim {

StageState stage;

namespace {

constexpr Vec3 kPostSize{0.18f, 0.18f, 1.2f};  // metres

// Buildings and walls well clear of the road, so that nothing on it is hidden:
// centre and size in metres.
struct Block {
    Vec3 centre, size;
};
constexpr Block kBlocks[] = {
    {{-14.0f, 24.0f, 4.0f}, {10.0f, 20.0f, 8.0f}},   {{17.0f, 35.0f, 6.0f}, {12.0f, 10.0f, 12.0f}},
    {{-18.0f, 60.0f, 5.0f}, {12.0f, 18.0f, 10.0f}},  {{15.0f, 80.0f, 3.0f}, {8.0f, 20.0f, 6.0f}},
    {{-14.0f, 110.0f, 7.0f}, {8.0f, 12.0f, 14.0f}},  {{18.0f, 130.0f, 5.0f}, {12.0f, 16.0f, 10.0f}},
    {{-17.0f, 170.0f, 4.0f}, {10.0f, 24.0f, 8.0f}},  {{16.0f, 200.0f, 8.0f}, {10.0f, 12.0f, 16.0f}},
    {{-16.0f, -20.0f, 4.0f}, {10.0f, 16.0f, 8.0f}},  {{17.0f, -10.0f, 3.0f}, {12.0f, 8.0f, 6.0f}},
    {{-9.0f, 8.0f, 0.6f}, {6.0f, 0.4f, 1.2f}},       {{9.0f, 14.0f, 0.5f}, {1.2f, 1.2f, 1.0f}},
    {{8.5f, 16.0f, 0.4f}, {0.8f, 0.8f, 0.8f}},       {{-8.0f, 45.0f, 0.6f}, {0.4f, 8.0f, 1.2f}},
    {{10.0f, 52.0f, 0.5f}, {1.0f, 1.0f, 1.0f}},      {{-8.5f, -6.0f, 0.5f}, {1.2f, 1.2f, 1.0f}},
};

}  // namespace

void buildStage() {
    if (stage.built) return;
    stage.built = true;
    for (const Block& b : kBlocks) addSolidBox(b.centre, b.size);
    for (float y = kRoadStartY; y <= kRoadEndY; y += kPostSpacing)
        for (float side : {-1.0f, 1.0f}) addSolidBox({side * kPostOffset, y, kPostSize.z * 0.5f}, kPostSize);
}

}  // namespace sim
