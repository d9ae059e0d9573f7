// Loading the release plug-in into the stand-in hook's process.
#pragma once
#include <string>

namespace sim {
void setPluginPath(const std::string& path);  // before boot
void* loadedPlugin();                          // the module LoadLibrary returned
int redirectedImports();                       // import slots now pointing at the simulation
int missingRedirects();                        // redirected functions the plug-in does not import
bool unloadPlugin();                           // FreeLibrary; true when the module left the process
}  // namespace sim
