// On Linux the plug-in is linked into the simulator: loading it is calling its
// entry routine with "process attach", as the system loader would.
#include <cstdint>

extern "C" int DllMain(void* module, uint32_t reason, void* reserved);

namespace sim {
namespace {
int moduleTag;  // stands in for the module handle
}
void loadPlugin() { DllMain(&moduleTag, 1, nullptr); }
}  // namespace sim
