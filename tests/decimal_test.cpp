// Decimal text to numbers: correctly rounded where a correct C runtime rounds,
// finite and saturated where the runtimes disagree or overflow.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/decimal.h"

namespace {

uint32_t bits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

TEST(DecimalText, RoundsLikeACorrectDecimalToDoubleThenNarrowing) {
    // The texts the file holds in practice: every %.4f value of the ranges, and
    // %.9g texts that identify a float exactly; glibc's strtod is correctly
    // rounded, so strtod-then-narrow is the reference.
    char text[64];
    int checked = 0;
    for (int i = -20000; i <= 20000; i += 7) {
        std::snprintf(text, sizeof text, "%.4f", i * 0.009);
        ASSERT_EQ(bits(decimalToFloat(text)), bits(static_cast<float>(std::strtod(text, nullptr)))) << text;
        ++checked;
    }
    uint32_t state = 7;
    for (int i = 0; i < 20000; ++i) {
        state = state * 1664525u + 1013904223u;
        float f;
        const uint32_t b = (state & 0x807FFFFFu) | (((state >> 23) % 60 + 97) << 23);  // about 1e-9 .. 1e9
        std::memcpy(&f, &b, sizeof f);
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
        ASSERT_EQ(bits(decimalToFloat(text)), bits(f)) << text;
        ++checked;
    }
    // Long texts (beyond 2^53 or 10^22) take the scaled path; still the same float.
    uint64_t wide = 3;
    for (int i = 0; i < 20000; ++i) {
        wide = wide * 6364136223846793005ull + 1442695040888963407ull;
        const uint64_t b = ((wide >> 12) & 0x000FFFFFFFFFFFFFull) | (uint64_t{1023 - 60 + (wide >> 57) % 120} << 52);
        double d;
        std::memcpy(&d, &b, sizeof d);
        std::snprintf(text, sizeof text, i % 2 ? "%.17g" : "%.25e", d);
        ASSERT_EQ(bits(decimalToFloat(text)), bits(static_cast<float>(std::strtod(text, nullptr)))) << text;
        ++checked;
    }
    EXPECT_EQ(bits(decimalToFloat("0.1")), bits(0.1f));
    EXPECT_EQ(bits(decimalToFloat("  -0.05")), bits(-0.05f));
    EXPECT_GT(checked, 45000);
}

TEST(DecimalText, ReadsOnlyTheLeadingDecimalNumber) {
    const struct { const char* text; float value; } cases[] = {
        {"", 0}, {"abc", 0}, {"0x1A", 0}, {"0x1p3", 0},
        {"95abc", 95}, {"1e2", 100}, {"1E+2", 100}, {"2.5e-1", 0.25f}, {"1e", 1}, {"1e+", 1}, {"1.e1", 10},
        {".5", 0.5f}, {"-.5", -0.5f}, {"+7", 7}, {".", 0}, {"-", 0}, {"e5", 0}, {" \t\r\n\v\f12", 12},
        {"1 2", 1}, {"1,5", 1}, {"000000000000000000000000000042.5", 42.5f},
        {"0.000000000000000000000000000000001e33", 1}, {"123456789012345678901234567890e-29", 1.23456789f}};
    for (const auto& c : cases) EXPECT_EQ(decimalToFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(DecimalText, OverflowSaturatesAndUnderflowIsZeroNeverNonFinite) {
    EXPECT_EQ(decimalToFloat("1e999"), FLT_MAX);
    EXPECT_EQ(decimalToFloat("-1e999"), -FLT_MAX);
    EXPECT_EQ(decimalToFloat("1e39"), FLT_MAX);
    EXPECT_EQ(decimalToFloat("3e38"), 3e38f);
    EXPECT_EQ(decimalToFloat("1e99999999999999999999"), FLT_MAX);
    EXPECT_EQ(decimalToFloat("1e-999"), 0.0f);
    EXPECT_EQ(decimalToFloat("1e-99999999999999999999"), 0.0f);
    EXPECT_EQ(decimalToFloat(std::string(5000, '9').c_str()), FLT_MAX);
    EXPECT_EQ(decimalToFloat(("0." + std::string(5000, '0') + "1").c_str()), 0.0f);
}

TEST(DecimalText, InfinityReadsAsTheStandardConversionsOverflowOnlyNaNReadsZero) {
    // Whatever the standard conversion reads as an infinity (either word, any
    // case, signed, with text after it) is an overflow like "1e999"; near
    // misses read what it reads of them.
    for (const char* text : {"inf", "INF", "Inf", "+inf", "-inf", "infinity", "-Infinity", "INFINITY", " \t-iNf",
                             "infinite", "infinityx", "-inf5", "in", "i", "-in", "nf", "i nf", "+-inf", "- inf",
                             ".inf", "1inf", "e inf"}) {
        const double reference = std::strtod(text, nullptr);
        const float expected = std::isinf(reference) ? std::copysign(FLT_MAX, static_cast<float>(reference))
                                                     : static_cast<float>(reference);
        EXPECT_EQ(bits(decimalToFloat(text)), bits(expected)) << '"' << text << '"';
    }
    EXPECT_EQ(decimalToFloat("-Infinity"), -FLT_MAX);
    // NaN alone stays mended: it would slip past any range clamp.
    for (const char* text : {"nan", "NaN", "-nan", "nan(7)", " NAN"}) {
        EXPECT_TRUE(std::isnan(std::strtod(text, nullptr))) << text;
        EXPECT_EQ(decimalToFloat(text), 0.0f) << '"' << text << '"';
    }
}

TEST(DecimalText, IntegersStopAtNonDigitsAndSaturate) {
    const struct { const char* text; int32_t value; } cases[] = {
        {"", 0}, {"tru", 0}, {"0.9", 0}, {"2", 2}, {"-1", -1}, {" 1", 1}, {"+5", 5}, {"0x1A", 0}, {"12abc", 12},
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN}, {"99999999999999999999999", INT32_MAX}, {"1e3", 1}, {"inf", 0}, {"-inf", 0}};
    for (const auto& c : cases) EXPECT_EQ(decimalToInt(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
