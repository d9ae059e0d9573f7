// Decimal text to numbers, the same on every C runtime.
//
// The settings file is plain text that players edit by hand, and the plug-in
// must read it identically in the release build and in the simulator. The C
// runtimes disagree on text such as "nan", "inf", "0x1A" and "1e999" (one reads
// hexadecimal and NaN, the other does not), and a NaN would slip past any
// range clamp. These conversions therefore read decimal only:
//   leading blanks (space, tab, LF, VT, FF, CR), an optional sign, digits with
//   an optional fraction, an optional decimal exponent; the longest such prefix
//   is converted and the rest ignored; no digits at all reads 0.
// So "nan" and "inf" read 0, "0x1A" reads 0 (its prefix "0"), "95abc" reads 95.
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
