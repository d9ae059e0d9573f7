// Compares two native-call traces (sim/trace.h): the same lines, the same
// hashes in the same order and the same integer, flag and text arguments and
// results; floats may differ by a few units in the last place (or, for values
// near zero, where ulps shrink, by as much absolutely as a few ulps of 1.0):
// that is how far two C libraries' sine and cosine may disagree.
//   zv_trace_diff A B [MAX_ULPS]    exit 0 when they agree, 1 when not
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/float_bits.h"

namespace {

constexpr uint32_t kDefaultMaxUlps = 4;
float largestGap = 0.0f;  // the largest absolute difference seen between two floats

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// The ulp distance between two words when both are float words (f:XXXXXXXX or
// v:X,Y,Z), counting values within maxUlps ulps of 1.0 of each other as equal;
// -1 when they are not floats of the same shape.
int64_t floatDistance(const std::string& a, const std::string& b, int64_t maxUlps) {
    if (a.size() != b.size() || a.size() < 3 || a[1] != ':' || a[0] != b[0] || (a[0] != 'f' && a[0] != 'v')) return -1;
    int64_t worst = 0;
    for (size_t k = 2; k + 8 <= a.size(); k += 9) {
        const uint32_t x = static_cast<uint32_t>(std::strtoul(a.substr(k, 8).c_str(), nullptr, 16));
        const uint32_t y = static_cast<uint32_t>(std::strtoul(b.substr(k, 8).c_str(), nullptr, 16));
        const float gap = std::fabs(sim::floatFromBits(x) - sim::floatFromBits(y));
        if (gap > largestGap) largestGap = gap;
        const bool close = gap <= static_cast<float>(maxUlps) * FLT_EPSILON;
        const int64_t d = close ? 0 : sim::ulpDistance(x, y);
        if (d > worst) worst = d;
    }
    return worst;
}

std::vector<std::string> readLines(const char* path, bool& ok) {
    std::vector<std::string> out;
    std::ifstream in(path, std::ios::binary);
    ok = static_cast<bool>(in);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zv_trace_diff A B [MAX_ULPS]\n");
        return 2;
    }
    const int64_t maxUlps = argc > 3 ? std::strtoll(argv[3], nullptr, 0) : kDefaultMaxUlps;
    bool okA = false, okB = false;
    const std::vector<std::string> a = readLines(argv[1], okA), b = readLines(argv[2], okB);
    if (!okA || !okB) {
        std::fprintf(stderr, "zv_trace_diff: cannot read %s\n", okA ? argv[2] : argv[1]);
        return 2;
    }
    int64_t worst = 0;
    size_t worstLine = 0, floats = 0, inexact = 0;
    for (size_t n = 0; n < a.size() || n < b.size(); ++n) {
        if (n >= a.size() || n >= b.size()) {
            std::printf("zv_trace_diff: %s ends at line %zu\n", n >= a.size() ? argv[1] : argv[2], n + 1);
            return 1;
        }
        const std::vector<std::string> x = words(a[n]), y = words(b[n]);
        bool same = x.size() == y.size();
        for (size_t k = 0; same && k < x.size(); ++k) {
            if (x[k] == y[k]) {
                floats += (x[k].size() > 2 && (x[k][0] == 'f' || x[k][0] == 'v') && x[k][1] == ':') ? 1 : 0;
                continue;
            }
            const int64_t d = floatDistance(x[k], y[k], maxUlps);
            ++floats;
            ++inexact;
            if (d > worst) worst = d, worstLine = n + 1;
            same = d >= 0 && d <= maxUlps;
        }
        if (!same) {
            std::printf("zv_trace_diff: line %zu differs beyond %" PRId64 " ulps:\n  %s\n  %s\n", n + 1, maxUlps,
                        a[n].c_str(), b[n].c_str());
            return 1;
        }
    }
    std::printf("zv_trace_diff: %zu lines agree; %zu of %zu floats differ, each within %" PRId64
                " ulps or, near zero, %" PRId64 " ulps of 1.0 (largest gap %.3g; most ulps %" PRId64 ", line %zu)\n",
                a.size(), inexact, floats, maxUlps, maxUlps, static_cast<double>(largestGap), worst, worstLine);
    return 0;
}
