#include "sim/adversary.h"

#include <chrono>
#include <cmath>
#include <random>
#include <set>

#include "camera/rig.h"
#include "runtime/runtime.h"
#include "settings/settings.h"
#include "sim/alloc_watch.h"
#include "sim/hostile.h"
#include "sim/sim.h"
#include "sim/world/cameras.h"
#include "sim/world/controls.h"
#include "sim/world/draw.h"
#include "sim/world/os.h"
#include "sim/world/player.h"
#include "sim/world/scene.h"
#include "sim/world/vehicles.h"
#include "sim/world/weapons.h"

namespace sim {
namespace {

constexpr int kBoatClass = 14;
constexpr double kHostileRates[] = {0.0, 0.0, 0.01, 0.05, 0.25, 1.0};  // per episode; clean ones reach deep states
constexpr int kKeys[] = {0x56, 0x26, 0x28, 0x25, 0x27, 0x0D, 0x08, 0x65, 0x1B, 0x10,
                         0x01, 0x02, 0x60, 0x45, 0x51, 0x7A, 0x70, 0x20};  // V arrows ENTER BACK NUM5 ESC SHIFT mouse NUM0 ...
constexpr int kControls[] = {24, 25, 21, 32, 0, 1, 2, 26, 79, 80, 188, 187, 189, 190, 201, 202, 199, 200,
                             175, 174, 173, 27, 194, 241, 242, 37, 22, 73};
constexpr uint32_t kFrameTimes[] = {16, 16, 16, 33, 8, 0, 1, 100, 1000, 1000};  // ms; 0 and long stalls happen
const char* const kWeapons[] = {"WEAPON_PISTOL", "WEAPON_CARBINERIFLE", "WEAPON_SNIPERRIFLE", "WEAPON_PUMPSHOTGUN",
                                "WEAPON_UNARMED"};

enum class Place : uint8_t { OnFoot, Car, Motorcycle, Bicycle, Boat, Dead, Cutscene, Parachute, Faded, Count };

struct Driver {
    std::mt19937_64 rng;
    AdversaryReport report;
    std::set<int32_t> pages;

    uint32_t below(uint32_t n) { return static_cast<uint32_t>(rng() % n); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }

    void everySettingOn() {
        for (const Setting& s : kSettings)
            if (s.kind == SettingKind::Flag) *s.flagField = 1;
    }
    void randomSetting() {
        const Setting& s = kSettings[below(kSettingCount)];
        switch (s.kind) {
            case SettingKind::Float: {
                const float pickFrom[] = {s.minimum, s.maximum,
                                          std::uniform_real_distribution<float>(s.minimum, s.maximum)(rng)};
                *s.floatField = pickFrom[below(3)];
                break;
            }
            case SettingKind::Flag: *s.flagField = static_cast<uint8_t>(below(2)); break;
            case SettingKind::Int: break;  // the key bindings stay reachable
        }
    }

    void leaveEverything() {
        if (player.vehicle != 0) leaveVehicle();
        if (scene.cutsceneActive) endCutscene();
        scene.fadedOut = false;
        player.parachuteState = kNotParachuting;
        respawnPlayer();
    }
    void enter(Place place) {
        leaveEverything();
        const EntityState& ped = playerPed();
        switch (place) {
            case Place::Car: enterVehicle(spawnVehicle(kSedanClass, ped.position, ped.rotation.z)); break;
            case Place::Motorcycle: enterVehicle(spawnVehicle(kMotorcycleClass, ped.position, ped.rotation.z)); break;
            case Place::Bicycle: enterVehicle(spawnVehicle(kCycleClass, ped.position, ped.rotation.z)); break;
            case Place::Boat: enterVehicle(spawnVehicle(kBoatClass, ped.position, ped.rotation.z)); break;
            case Place::Dead: killPlayer(); break;
            case Place::Cutscene: startCutscene(); break;
            case Place::Parachute: player.parachuteState = 0; break;
            case Place::Faded: scene.fadedOut = true; break;
            default: break;
        }
        if (player.vehicle != 0) driveSteady(player.vehicle, std::uniform_real_distribution<float>(-10.0f, 40.0f)(rng));
    }

    void randomInput() {
        for (int key : kKeys)
            if (os.keyDown.at(key) && chance(0.3)) releaseKey(key);
        for (int control : kControls)
            if (chance(0.02)) releaseControl(control);
        if (chance(0.15)) holdKey(kKeys[below(sizeof kKeys / sizeof kKeys[0])]);
        if (chance(0.1)) holdControl(kControls[below(sizeof kControls / sizeof kControls[0])]);
        if (chance(0.1)) setControlNormal(kControls[below(sizeof kControls / sizeof kControls[0])],
                                          std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng));
        if (chance(0.05)) gameCameras.rotation.z = std::uniform_real_distribution<float>(-180.0f, 180.0f)(rng);
        if (chance(0.05)) gameCameras.rotation.x = std::uniform_real_distribution<float>(-89.0f, 89.0f)(rng);
        if (chance(0.01)) equipWeapon(kWeapons[below(sizeof kWeapons / sizeof kWeapons[0])]);
        if (chance(0.02)) player.stealth = !player.stealth;
        if (chance(0.005)) randomSetting();
        if (chance(0.01)) setFrameMs(kFrameTimes[below(sizeof kFrameTimes / sizeof kFrameTimes[0])]);
        if (chance(0.01)) putGameInFirstPerson();
        if (player.vehicle != 0 && chance(0.005)) crash(player.vehicle);
        // The player's machine: another window comes to the front and goes, and
        // controllers are plugged in and pulled out.
        if (os.front == Front::Game ? chance(0.002) : chance(0.05)) {
            os.front = os.front == Front::Game ? (chance(0.5) ? Front::Other : Front::None) : Front::Game;
        }
        if (chance(0.005)) {
            const size_t slot = below(4);
            os.padConnected[slot] = !os.padConnected[slot];
            os.pads[slot].leftTrigger = static_cast<uint8_t>(below(256));
        }
    }

    // A menu walk: opens the menu and moves through its rows and pages.
    void menuInput() {
        static constexpr int kMenuKeys[] = {0x26, 0x28, 0x28, 0x25, 0x27, 0x27, 0x0D, 0x0D, 0x08, 0x65};
        for (int key : kMenuKeys) releaseKey(key);
        if (menuShared.open == 0 && !menuShared.closing && chance(0.01)) holdKey(MenuKeyVK);
        else if (MenuKeyVK >= 0 && MenuKeyVK < 256) releaseKey(MenuKeyVK);
        if (chance(0.2)) holdKey(kMenuKeys[below(sizeof kMenuKeys / sizeof kMenuKeys[0])]);
    }

    bool resetDialogShown() {
        for (const DrawItem& d : draws.lastFrame)
            if (d.kind == DrawKind::Text && d.style.centre && d.text == "Reset All") return true;
        return false;
    }

    void count() {
        ++report.frames;
        if (hostileRate() > 0.0) ++report.hostileFrames;
        if (engaged) ++report.engagedFrames;
        if (player.vehicle != 0) ++report.vehicleFrames;
        if (playerPed().dead) ++report.deadFrames;
        if (scene.cutsceneActive) ++report.cutsceneFrames;
        if (menuShared.open) {
            ++report.menuFrames;
            pages.insert(menuShared.openSection);
            if (menuShared.keyCapture || menuShared.padCapture) ++report.captureFrames;
            if (resetDialogShown()) ++report.resetDialogFrames;
        }
    }
};

}  // namespace

AdversaryReport runAdversary(const AdversaryOptions& options) {
    Driver d;
    d.rng.seed(options.seed);
    Options boot;
    boot.startTick = options.startTick;
    setRecording(Recording::Off);
    sim::boot(boot);
    frame();  // start-up: settings file, lens sync, menu rows
    d.everySettingOn();

    while (d.report.frames < options.frames && d.report.failure.empty()) {
        // One episode: a place, engaged or not, the menu or not, a hostility.
        const Place place = static_cast<Place>(d.below(static_cast<uint32_t>(Place::Count)));
        const bool walkMenu = d.chance(0.35);
        const bool engage = d.chance(0.7);
        setHostile(0.0, d.rng());
        if (engage) {
            putGameInFirstPerson();
            holdKey(kViewKey);
            frame();
            releaseKey(kViewKey);
            frame();
        }
        d.enter(place);
        setHostile(kHostileRates[d.below(sizeof kHostileRates / sizeof kHostileRates[0])], d.rng());
        const uint32_t length = 30 + d.below(400);
        for (uint32_t k = 0; k < length && d.report.frames < options.frames; ++k) {
            d.randomInput();
            if (walkMenu) d.menuInput();
            const uint8_t wasOpen = menuShared.open, wasClosing = menuShared.closing;
            const uint64_t allocations = pluginAllocations();
            const uint64_t files = os.fileOperations;
            const auto began = std::chrono::steady_clock::now();
            frame();
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
            d.report.slowestFrameMs = std::max(d.report.slowestFrameMs, ms);
            d.count();
            const bool saved = (wasOpen && !menuShared.open) || (wasClosing && !menuShared.closing);
            if (saved) ++d.report.saves;
            const std::string at = " in frame " + std::to_string(frameIndex());
            if (ms > (saved ? options.maxSaveFrameMs : options.maxFrameMs)) d.report.failure = "a frame took " + std::to_string(ms) + " ms" + at;
            if (!saved && pluginAllocations() != allocations)
                d.report.failure = std::to_string(pluginAllocations() - allocations) + " heap allocations" + at;
            if (!saved && os.fileOperations != files)
                d.report.failure = std::to_string(os.fileOperations - files) + " file operations" + at;
            if (!d.report.failure.empty()) break;
        }
    }
    d.report.overridden = hostileStats().overridden;
    d.report.pagesSeen = static_cast<uint32_t>(d.pages.size());
    setHostile(0.0, 0);
    return d.report;
}

}  // namespace sim
