// Driving the settings menu through the simulator: moving its cursor, opening
// its pages, and what the last frame drew.
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
#include "tests/play.h"

namespace menutest {

inline int32_t cursorRow() { return menuShared.selectable[menuShared.cursor]; }

// The table row with this name; the test fails when there is none.
inline int32_t rowNamed(const char* name) {
    for (int32_t r = 0; r < kMenuRowCount; ++r)
        if (std::strcmp(menuItems[r].name, name) == 0) return r;
    ADD_FAILURE() << "no menu row named \"" << name << "\"";
    return -1;
}

// DOWN until the cursor sits on the table row of this name.
inline void moveTo(const char* name) {
    const int32_t row = rowNamed(name);
    for (int k = 0; k < kMenuRowCount && cursorRow() != row; ++k) play::menuPress(kVkDown);
    ASSERT_EQ(cursorRow(), row);
}

// Opens a section's page from the section list.
inline void openPage(const char* section) {
    moveTo(section);
    play::menuPress(kVkEnter);
    ASSERT_EQ(menuShared.openSection, rowNamed(section));
}

// The menu opened on a section's page, the cursor on one of its rows.
inline void openAt(const char* section, const char* row) {
    play::openMenu();
    openPage(section);
    moveTo(row);
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
