#include "settings/decimal.h"

#include <cfloat>

namespace {

constexpr int kExactDigits = 19;            // significant digits a uint64 holds exactly
constexpr int64_t kExponentCap = 1000000;   // an exponent text beyond this is saturated
constexpr int kLargestExactPower = 22;      // 10^22 is the largest power of ten a double holds exactly
constexpr uint64_t kExactMantissa = 1ull << 53;
// Beyond these decimal exponents of the leading digit a value is outside the
// float range whatever its digits: above FLT_MAX (3.4e38), below half of the
// smallest subnormal (1.4e-45).
constexpr int kOverflowExponent = 39;
constexpr int kUnderflowExponent = -46;

constexpr double kPow10[kLargestExactPower + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "inf" in any case: the start of "inf" and "infinity", both of which a
// standard conversion reads as an infinity.
bool startsWithInfinity(const char* p) {
    return lowerAscii(p[0]) == 'i' && lowerAscii(p[1]) == 'n' && lowerAscii(p[2]) == 'f';
}

// Leading blanks and an optional sign; returns the first character after them.
const char* skipBlanksAndSign(const char* p, bool* negative) {
    while (isBlank(*p)) ++p;
    *negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    return p;
}

// mantissa * 10^exponent as a double. Exact-operand cases (Clinger's fast path)
// are correctly rounded; the rest scale in steps of exact powers, plain SSE2
// double arithmetic that gives the same bits on every x86-64 build.
double scaleByPowerOfTen(uint64_t mantissa, int exponent) {
    double value = static_cast<double>(mantissa);
    if (mantissa <= kExactMantissa && exponent >= -kLargestExactPower && exponent <= kLargestExactPower)
        return exponent >= 0 ? value * kPow10[exponent] : value / kPow10[-exponent];
    while (exponent > kLargestExactPower) { value *= kPow10[kLargestExactPower]; exponent -= kLargestExactPower; }
    while (exponent < -kLargestExactPower) { value /= kPow10[kLargestExactPower]; exponent += kLargestExactPower; }
    return exponent >= 0 ? value * kPow10[exponent] : value / kPow10[-exponent];
}

}  // namespace

float decimalToFloat(const char* text) {
    bool negative = false;
    const char* p = skipBlanksAndSign(text, &negative);
    // An infinity overflows the float range like "1e999" and saturates.
    if (startsWithInfinity(p)) return negative ? -FLT_MAX : FLT_MAX;

    // Digits with an optional fraction: the first 19 significant digits in the
    // mantissa, the position of the decimal point in the exponent.
    uint64_t mantissa = 0;
    int significant = 0;
    int64_t exponent = 0;
    bool anyDigit = false;
    for (; isDigit(*p); ++p) {
        anyDigit = true;
        if (significant < kExactDigits) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
            if (mantissa != 0) ++significant;
        } else {
            ++exponent;  // an integer digit beyond the kept ones still scales the value
        }
    }
    if (*p == '.') {
        for (++p; isDigit(*p); ++p) {
            anyDigit = true;
            if (significant < kExactDigits) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
                if (mantissa != 0) ++significant;
                --exponent;
            }
        }
    }
    if (!anyDigit) return 0.0f;

    // An exponent counts only with at least one digit: "1e" and "1e+" read 1.
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool negativeExponent = *q == '-';
        if (*q == '+' || *q == '-') ++q;
        int64_t written = 0;
        for (; isDigit(*q); ++q)
            if (written < kExponentCap) written = written * 10 + (*q - '0');
        exponent += negativeExponent ? -written : written;
    }

    if (mantissa == 0) return negative ? -0.0f : 0.0f;
    const int64_t leadingExponent = exponent + significant - 1;
    double magnitude;
    if (leadingExponent > kOverflowExponent) {
        magnitude = FLT_MAX;
    } else if (leadingExponent < kUnderflowExponent) {
        magnitude = 0.0;
    } else {
        magnitude = scaleByPowerOfTen(mantissa, static_cast<int>(exponent));
        if (magnitude > FLT_MAX) magnitude = FLT_MAX;
    }
    const float value = static_cast<float>(magnitude);
    return negative ? -value : value;
}

int32_t decimalToInt(const char* text) {
    bool negative = false;
    const char* p = skipBlanksAndSign(text, &negative);
    constexpr int64_t kSaturated = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; isDigit(*p); ++p)
        if (magnitude < kSaturated) magnitude = magnitude * 10 + (*p - '0');
    if (negative) return magnitude >= kSaturated ? INT32_MIN : static_cast<int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}
