// Whether the player presses a control. A control counts when the game says it
// is pressed, or pressed while disabled: the plug-in disables some controls for
// the game itself and must still see them. The second query is asked only when
// the first says no. Which goes first differs between the callers, and the
// order of native calls is part of the behaviour, so each name says it.
#pragma once
#include "runtime/natives.h"

// Held: the ordinary query, then the disabled one.
inline bool isPressedEnabledFirst(int group, int control) {
    return game::isControlPressed(group, control) || game::isDisabledControlPressed(group, control);
}

// Held: the disabled query, then the ordinary one.
inline bool isPressedDisabledFirst(int group, int control) {
    return game::isDisabledControlPressed(group, control) || game::isControlPressed(group, control);
}

// Pressed in this frame: the disabled query, then the ordinary one.
inline bool isJustPressedDisabledFirst(int group, int control) {
    return game::isDisabledControlJustPressed(group, control) || game::isControlJustPressed(group, control);
}
