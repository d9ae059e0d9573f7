// Counts heap allocations made while inPluginCode is set. Under AddressSanitizer
// the sanitizer's allocation hook counts them; otherwise malloc and its kin are
// replaced by wrappers around glibc's own (operator new ends in malloc).
#include "sim/alloc_watch.h"

#include <cstddef>

#if defined(__linux__) && __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define ZV_TOGGLE_COLLECT() CALLGRIND_TOGGLE_COLLECT
#else
#define ZV_TOGGLE_COLLECT() ((void)0)
#endif

namespace sim {
bool inPluginCode = false;
namespace {
uint64_t allocations = 0;
}
void setInPluginCode(bool inside) {
    if (inside == inPluginCode) return;
    inPluginCode = inside;
    ZV_TOGGLE_COLLECT();
}
}  // namespace sim

#if defined(__SANITIZE_ADDRESS__)
#define ZV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZV_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(__linux__)
#if defined(ZV_ADDRESS_SANITIZER)
// The sanitizer runtime's allocation hooks (GCC ships no header for them).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*onMalloc)(const volatile void*, size_t),
                                                         void (*onFree)(const volatile void*));

namespace {
void onMalloc(const volatile void*, size_t) {
    if (sim::inPluginCode) ++sim::allocations;
}
void onFree(const volatile void*) {}
const int installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
}  // namespace

namespace sim {
bool allocationsCounted() { return installed != 0; }
}  // namespace sim
#else
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);

void* malloc(size_t size) {
    if (sim::inPluginCode) ++sim::allocations;
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    if (sim::inPluginCode) ++sim::allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    if (sim::inPluginCode) ++sim::allocations;
    return __libc_realloc(block, size);
}
void* memalign(size_t alignment, size_t size) {
    if (sim::inPluginCode) ++sim::allocations;
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size) {
    void* p = memalign(alignment, size);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}
void free(void* block) { __libc_free(block); }
}

namespace sim {
bool allocationsCounted() { return true; }
}  // namespace sim
#endif
#else
namespace sim {
bool allocationsCounted() { return false; }
}  // namespace sim
#endif

namespace sim {
uint64_t pluginAllocations() { return allocations; }
}  // namespace sim
