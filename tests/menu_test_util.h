// Driving the settings menu through the simulator: key presses with the
// debounces cleared, and what the last frame drew.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "menu/menu.h"
#include "menu/menu_draw.h"
#include "menu/menu_items.h"
#include "runtime/runtime.h"
#include "runtime/virtual_keys.h"
#include "settings/settings.h"
#include "sim/sim.h"
#include "sim/world/controls.h"
#include "sim/world/draw.h"
#include "sim/world/feed.h"
#include "sim/world/os.h"
#include "sim/world/sounds.h"

namespace menutest {


// A booted plug-in with every setting at its default and the F6 menu key.
inline void bootWithDefaults() {
    sim::boot();
    sim::frame();
    resetAllSettings();
    PadOpenBtn = 0;
}

// Key down for one frame, then up, then long enough for every debounce.
inline void press(int vk, int times = 1) {
    for (int k = 0; k < times; ++k) {
        sim::holdKey(vk);
        sim::frame();
        sim::releaseKey(vk);
        sim::runFor(300);
    }
}

inline void openMenu() {
    press(kVkF6);
    ASSERT_EQ(menuShared.open, 1);
    ASSERT_EQ(menuShared.openProgress, 1.0f);
}

inline int32_t cursorRow() { return menuShared.selectable[menuShared.cursor]; }

// The table row with this name; the test fails when there is none.
inline int32_t rowNamed(const char* name) {
    for (int32_t r = 0; r < kMenuRowCount; ++r)
        if (std::strcmp(menuItems[r].name, name) == 0) return r;
    ADD_FAILURE() << "no menu row named \"" << name << "\"";
    return -1;
}

// DOWN until the cursor sits on a table row.
inline void moveTo(int32_t row) {
    for (int k = 0; k < kMenuRowCount && cursorRow() != row; ++k) press(kVkDown);
    ASSERT_EQ(cursorRow(), row);
}

// Opens a section's page from the section list.
inline void openPage(int32_t headerRow) {
    moveTo(headerRow);
    press(kVkEnter);
    ASSERT_EQ(menuShared.openSection, headerRow);
}

inline std::vector<std::string> soundsSince(size_t index) { return sim::soundNamesSince(index); }

// The last frame's rectangles drawn in a colour.
inline std::vector<const sim::DrawItem*> rectsOfColour(int r, int g, int b) {
    std::vector<const sim::DrawItem*> out;
    for (const sim::DrawItem* d : sim::lastFrameRects())
        if (d->colour.r == r && d->colour.g == g && d->colour.b == b) out.push_back(d);
    return out;
}

}  // namespace menutest
