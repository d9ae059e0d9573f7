#include "runtime/natives.h"
#include "runtime/runtime.h"

void postNotification(const char* text) {
    game::beginTextCommandThefeedPost("STRING");
    game::addTextComponentSubstringPlayerName(text);
    game::endTextCommandThefeedPostTicker(false, true);
}
