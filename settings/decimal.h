// Decimal text to numbers, the same on every C runtime.
//
// The settings file is plain text that players edit by hand, and the plug-in
// must read it identically in the release build and in the simulator. The C
// runtimes disagree on text such as "nan", "inf", "0x1A" and "1e999" (one reads
// hexadecimal and NaN, the other does not), and a NaN would slip past any
// range clamp. These conversions therefore read what a standard decimal
// conversion reads, except NaN and hexadecimal:
//   leading blanks (space, tab, LF, VT, FF, CR), an optional sign, then either
//   digits with an optional fraction and an optional decimal exponent, or the
//   word "inf" or "infinity" in any case; the longest such prefix is converted
//   and the rest ignored; anything else reads 0.
// An infinity is an overflow like "1e999": it saturates to the largest float,
// which the range clamp then brings to the setting's end. So "inf" reads
// FLT_MAX, "-Infinity" -FLT_MAX, "nan" 0, "0x1A" 0 (its prefix "0"), "95abc" 95.
#pragma once
#include <cstdint>

// Always finite: a magnitude beyond the float range saturates to +-FLT_MAX, a
// magnitude below it becomes zero. Ordinary inputs (up to 19 significant
// digits) round exactly as a correct decimal-to-double conversion followed by
// a narrowing to float: "0.1" gives 0.1f.
float decimalToFloat(const char* text);

// Digits only (a fraction or exponent ends the number: "0.9" reads 0);
// saturates at INT32_MIN and INT32_MAX instead of overflowing.
int32_t decimalToInt(const char* text);
