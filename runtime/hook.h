// The six functions the script hook exports. The hook exports them under their
// MSVC-decorated C++ names; the release build's import library maps these plain
// C names onto those, and the simulator defines them itself.
#pragma once
#include <cstdint>

extern "C" {
void scriptRegister(void* module, void (*scriptMain)());
void scriptUnregister(void* module);
void scriptWait(uint32_t milliseconds);
void nativeInit(uint64_t hash);
void nativePush64(uint64_t value);
uint64_t* nativeCall();
}
