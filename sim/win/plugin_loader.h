// Loading the release plug-in into the stand-in hook's process.
#pragma once
#include <string>

namespace sim {
void setPluginPath(const std::string& path);  // before boot
void* loadedPlugin();                          // the module LoadLibrary returned
int redirectedImports();                       // import slots now pointing at the simulation
int missingRedirects();                        // redirected functions the plug-in does not import
bool unloadPlugin();                           // FreeLibrary; true when the module left the process
// A slow disk for the trace build (before boot): its nth WriteFile off the host's
// thread is held until the unload, and fails the run if the plug-in leaves first.
void holdTraceWrite(uint32_t nth);
bool awaitHeldTraceWrite(uint32_t ms);         // true once the held write has begun
}  // namespace sim
