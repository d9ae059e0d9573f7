// Small maths shared by the camera and weapon code: angles in degrees, easing,
// and guards for values that come back from the game.
#pragma once
#include <cmath>

constexpr float kDegToRad = 0.01745329f;

// Brings an angle (or an angle difference) into -180..180. For ordinary values
// this equals adding or subtracting 360 until in range; it is bounded for any
// input: huge values reduce with fmod, and a non-finite input gives 0.
inline float wrapAngle(float a) {
    if (!std::isfinite(a)) return 0.0f;
    if (a > 540.0f || a < -540.0f) a = std::fmod(a, 360.0f);
    if (a > 180.0f) a -= 360.0f;
    if (a > 180.0f) a -= 360.0f;
    if (a < -180.0f) a += 360.0f;
    if (a < -180.0f) a += 360.0f;
    return a;
}

// value += (target - value) * min(1, rate * dt)
inline float easeTowards(float value, float target, float rate, float dt) {
    float k = rate * dt;
    return value + (target - value) * (k < 1.0f ? k : 1.0f);
}

// The share of the remaining gap an exponential ease at rate (per second) closes in dt seconds.
inline float expEaseFactor(float rate, float dt) { return 1.0f - std::exp(-rate * dt); }

inline float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

inline bool isFinite3(float x, float y, float z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

// The game's world lies within a few kilometres of its origin: a coordinate
// beyond kWorldLimit is a reading the game cannot have meant (a vanished
// entity, a bone that does not exist) and is treated like one it did not give.
constexpr float kWorldLimit = 100000.0f;  // metres
inline bool isWithin3(float x, float y, float z, float limit) {
    return std::fabs(x) <= limit && std::fabs(y) <= limit && std::fabs(z) <= limit;  // false for NaN
}
