// Bullet tracers: one per shot event at most once per shot interval, from the
// muzzle to the aim point, flying at 350 m/s as a 14 m streak of three lines.
#include <gtest/gtest.h>

#include <cmath>

#include "overlay/overlay.h"
#include "overlay/tracers.h"
#include "overlay_scene.h"
#include "sim/world/lines.h"

namespace {

// Frames in which a tracer was spawned: each spawn asks for the muzzle bone once.
std::vector<uint32_t> tracerSpawnTicks() {
    std::vector<uint32_t> frames;
    for (const sim::CallRecord* c : sim::calls(native::kGetEntityBoneIndexByName))
        if (c->text() == "Gun_Muzzle") frames.push_back(c->frame);
    return frames;
}

float length(const float a[3], const float b[3]) {
    return std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) + (b[2] - a[2]) * (b[2] - a[2]));
}

// The bright core lines of the last frame (the last of each tracer's three).
std::vector<const sim::DrawItem*> coreLines() {
    std::vector<const sim::DrawItem*> out;
    for (const sim::DrawItem* d : sim::lastFrameLines())
        if (d->colour.a == 235) out.push_back(d);
    return out;
}

TEST(TracerSpawn, MachineGunShotsSixtyMsApartGetEveryOtherTracer) {
    // A machine gun that fires every 60 ms (20 ms frames): its 70 ms interval
    // skips the second shot, and a skipped shot does not restart the interval.
    static const sim::WeaponType fastMg{"WEAPON_COMBATMG", "GROUP_MG", 100, 60, 4000, true, true, true};
    scene::bootWithBodycam({.frameMs = 20});
    scene::buildWall();
    sim::equipWeapon("WEAPON_COMBATMG");
    sim::weapons.current = &fastMg;
    scene::engage();
    sim::holdControl(kControlAim);
    sim::holdControl(kControlAttack);
    sim::runFor(700);
    ASSERT_GE(sim::weapons.shots.size(), 8u);
    std::vector<uint32_t> spawns = tracerSpawnTicks();
    ASSERT_GE(spawns.size(), 4u);
    for (size_t k = 1; k < spawns.size(); ++k) EXPECT_EQ(spawns[k] - spawns[k - 1], 6u) << "120 ms = 6 frames apart";
}

TEST(TracerSpawn, RifleTracersAreAtLeastItsIntervalApartAndFollowEveryShot) {
    scene::bodycamWith("WEAPON_CARBINERIFLE");
    sim::setFrameMs(10);
    sim::holdControl(kControlAim);
    sim::holdControl(kControlAttack);
    sim::runFor(1000);
    std::vector<uint32_t> spawns = tracerSpawnTicks();
    ASSERT_GE(spawns.size(), 5u);
    // The rifle fires every 100 ms: each shot is past the 95 ms interval.
    EXPECT_EQ(spawns.size(), sim::weapons.shots.size());
    for (size_t k = 1; k < spawns.size(); ++k) EXPECT_GE((spawns[k] - spawns[k - 1]) * 10u, 95u);
}

TEST(TracerSpawn, OnlyTracerWeaponsSpawnThem) {
    struct Case {
        const char* weapon;
        bool tracers;
    };
    const Case cases[] = {{"WEAPON_PUMPSHOTGUN", false}, {"WEAPON_SNIPERRIFLE", false}, {"WEAPON_RPG", false},
                          {"WEAPON_STUNGUN", false},     {"WEAPON_FLAREGUN", false},    {"WEAPON_MINIGUN", true},
                          {"WEAPON_PISTOL", true}};
    scene::bodycamWith("WEAPON_PISTOL");
    sim::holdControl(kControlAim);
    for (const Case& c : cases) {
        sim::runFor(1500);  // the last weapon's shot is past every rate
        sim::equipWeapon(c.weapon);
        sim::frame();
        size_t shots = sim::weapons.shots.size();
        size_t spawns = tracerSpawnTicks().size();
        sim::holdBurst(300);
        sim::frames(20);
        EXPECT_GT(sim::weapons.shots.size(), shots) << c.weapon << " fires at the aim point";
        EXPECT_EQ(tracerSpawnTicks().size() > spawns, c.tracers) << c.weapon;
    }
}

TEST(TracerSpawn, StartsAtTheMuzzleElseTheWeaponObjectElseTheCamera) {
    scene::bodycamWith("WEAPON_PISTOL");
    sim::holdControl(kControlAim);
    // The shot frame draws the new tracer with its tail still at its start.
    auto shotTracerStart = [] {
        sim::frames(20);  // earlier tracers have flown
        sim::fireOnce();
        std::vector<const sim::DrawItem*> core = coreLines();
        EXPECT_EQ(core.size(), 1u);
        return core.empty() ? Vec3{} : Vec3{core[0]->from[0], core[0]->from[1], core[0]->from[2]};
    };
    auto expectAt = [](Vec3 got, Vec3 want, float tolerance, const char* what) {
        EXPECT_NEAR(got.x, want.x, tolerance) << what;
        EXPECT_NEAR(got.y, want.y, tolerance) << what;
        EXPECT_NEAR(got.z, want.z, tolerance) << what;
    };

    Vec3 start = shotTracerStart();
    const sim::EntityState* object = sim::findEntity(sim::weapons.weaponObject);
    ASSERT_NE(object, nullptr);
    expectAt(start, sim::localToWorld(*object, sim::findBone(*object, "Gun_Muzzle")->local), 1e-3f, "muzzle");

    sim::equipWeapon("WEAPON_PISTOL", -1, false);
    start = shotTracerStart();
    expectAt(start, sim::findEntity(sim::weapons.weaponObject)->position, 1e-3f, "weapon object");

    sim::removeEntity(sim::weapons.weaponObject);
    sim::weapons.weaponObject = 0;
    start = shotTracerStart();
    expectAt(start, sim::liveScriptCam()->position, 0.15f, "camera");
}

// Engaged at 10 ms frames, then one tracer put in the pool along this path;
// the tick it was spawned at.
uint32_t spawnAlone(Vec3 from, Vec3 to) {
    scene::bootWithBodycam({.frameMs = 10});
    scene::engage();
    sim::frame();
    spawnTracer(from.x, from.y, from.z, to.x, to.y, to.z);
    return sim::now();
}

TEST(TracerFlight, ThirtyFiveMetresFliesInATenthAndIsGoneAt140ms) {
    // Drawn directly from the pool: a 35 m path takes T = 0.1 s; the 14 m
    // streak is 0.4 of it, so the tail arrives at 0.14 s and frees the slot.
    const uint32_t spawn = spawnAlone({0.0f, 0.0f, 2.0f}, {0.0f, 35.0f, 2.0f});
    struct Seen {
        uint32_t ms;
        float tail, head;
    };
    std::vector<Seen> seen;
    for (int k = 0; k < 20; ++k) {
        sim::frame();
        std::vector<const sim::DrawItem*> core = coreLines();
        if (core.empty()) continue;
        ASSERT_EQ(core.size(), 1u);
        seen.push_back({sim::now() - spawn, core[0]->from[1] / 35.0f, core[0]->to[1] / 35.0f});
    }
    ASSERT_FALSE(seen.empty());
    for (const Seen& s : seen) {
        float t = static_cast<float>(s.ms) * 0.001f;
        EXPECT_NEAR(s.head, std::fmin(1.0f, t / 0.1f), 1e-3f) << s.ms;
        EXPECT_NEAR(s.tail, std::fmax(0.0f, t / 0.1f - 0.4f), 1e-3f) << s.ms;
    }
    // The tail arrives at 0.14 s (to float rounding); nothing is drawn after.
    EXPECT_GE(seen.back().ms, 130u);
    EXPECT_LE(seen.back().ms, 140u);
}

TEST(TracerFlight, TenMetresIsAFiftyMsFlightWithAStreakOf85Percent) {
    const uint32_t spawn = spawnAlone({1.0f, 0.0f, 2.0f}, {1.0f, 10.0f, 2.0f});
    bool sawFullStreak = false;
    for (int k = 0; k < 12; ++k) {
        sim::frame();
        std::vector<const sim::DrawItem*> core = coreLines();
        float t = static_cast<float>(sim::now() - spawn) * 0.001f;
        if (t / 0.05f - 0.85f >= 1.0f) {
            EXPECT_TRUE(core.empty()) << "freed once the tail arrives";
            continue;
        }
        ASSERT_EQ(core.size(), 1u);
        float streak = length(core[0]->from, core[0]->to) / 10.0f;
        if (t >= 0.0425f && t <= 0.05f) {
            EXPECT_NEAR(streak, 0.85f, 1e-3f);
            sawFullStreak = true;
        }
    }
    EXPECT_TRUE(sawFullStreak);
}

// A tracer 1 km north along x, drawn from the next frame on.
void spawnLong(float x) { spawnTracer(x, 0.0f, 2.0f, x, 1000.0f, 2.0f); }

// 24 long tracers, one per frame: tracer k flies along x = k.
void fillThePool() {
    for (int k = 0; k < 24; ++k) {
        spawnLong(static_cast<float>(k));
        sim::frame();
    }
}

TEST(TracerPool, TheTwentyFifthReplacesTheOldestAndShortPathsAreNeverDrawn) {
    scene::bootWithBodycam();
    scene::engage();
    fillThePool();
    EXPECT_EQ(coreLines().size(), 24u);
    spawnLong(100.0f);
    sim::frame();
    std::vector<const sim::DrawItem*> core = coreLines();
    ASSERT_EQ(core.size(), 24u);
    bool oldest = false, newest = false;
    for (const sim::DrawItem* d : core) {
        oldest |= d->from[0] == 0.0f;
        newest |= d->from[0] == 100.0f;
    }
    EXPECT_FALSE(oldest) << "the first tracer was the oldest";
    EXPECT_TRUE(newest);

    // A path under 2 m never shows, and does not hold a slot.
    sim::frames(200);
    spawnTracer(0.0f, 0.0f, 2.0f, 0.0f, 1.99f, 2.0f);
    for (int k = 0; k < 5; ++k) {
        sim::frame();
        EXPECT_TRUE(sim::lastFrameLines().empty());
    }
}

TEST(TracerPool, OldestAcrossATickWrapIsTheOneThatFlewLongest) {
    // The tick counter wraps while the pool is full: the tracer spawned just
    // before the wrap has the larger tick but is the older one.
    scene::bootWithBodycam({.startTick = 0xFFFFFFFFu - 2000u});
    scene::engage();
    while (sim::now() < 0xFFFFFFFFu - 12u * 16u) sim::frame();
    fillThePool();
    ASSERT_LT(sim::now(), 0x1000u) << "the pool straddles the wrap";
    spawnLong(100.0f);
    sim::frame();
    for (const sim::DrawItem* d : coreLines()) EXPECT_NE(d->from[0], 0.0f);
}

TEST(TracerPool, TracersSwitchedOffStopDrawingAtOnce) {
    scene::bootWithBodycam();
    scene::engage();
    spawnLong(0.0f);
    sim::frame();
    EXPECT_EQ(sim::lastFrameLines().size(), 3u);
    BulletTracers = 0;
    sim::frame();
    EXPECT_TRUE(sim::lastFrameLines().empty());
    spawnLong(0.0f);  // refused while off
    BulletTracers = 1;
    sim::frame();
    EXPECT_EQ(sim::lastFrameLines().size(), 3u) << "the first resumes from its elapsed time; no second one";
}

}  // namespace
