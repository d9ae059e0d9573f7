// One coroutine: the plug-in's script main, which never returns.
#pragma once

namespace sim {
void coroutineStart(void (*entry)());  // prepares it; nothing runs yet
void coroutineResume();                // runs it until it calls coroutineYield
void coroutineYield();                 // from inside: back to whoever resumed
}  // namespace sim
