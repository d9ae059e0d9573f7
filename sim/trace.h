// The run's trace as text: every recorded native call, then every key press the
// plug-in sent. It holds no addresses, so the Linux simulator and the release
// binary under Wine write the same trace for the same play session.
#pragma once
#include <cstdio>

namespace sim {
void writeTrace(std::FILE* out);
}
