// The menu item table: every line of the settings menu, in display order, with
// its help text. The controller and the renderer interpret it and hold no rows
// of their own; a row edits a setting through the setting's own field.
#pragma once
#include <cstdint>

#include "runtime/runtime.h"

enum class MenuItemKind : int32_t {
    Slider = 0,           // edits a float between min and max in steps
    Toggle = 1,           // flips a flag, shows ON / OFF
    Choice = 2,           // cycles an index through named options
    Action = 3,           // runs a command when confirmed ("Reset All")
    ContributorName = 4,  // credits line
    Label = 5,            // credits text; drawn but never selectable
    SupporterName = 6,    // credits line drawn as a framed card
    Section = 9,          // section header; confirming it opens the page
    KeyBinding = 10,      // the menu key, MenuKeyVK
    PadBinding = 11,      // the controller menu button, PadOpenBtn
    RevealToggle = 12,    // flips a flag that shows or hides other rows
};

struct MenuItem {
    const char* name;
    MenuItemKind kind;
    float* value;  // Slider
    float min;     // range and default: the edited setting's load clamp and Reset All value
    float max;
    float step;
    float defaultValue;
    const char* format;  // printf conversion for the value
    const char* unit;    // appended to the value without a space
    uint8_t* flag;       // Toggle, RevealToggle
    int32_t* choiceIndex;
    int32_t choiceCount;
    const char* const* choiceNames;
    const char* help;  // shown under the panel while the row is selected
};

extern const MenuItem menuItems[kMenuRowCount];

// Help text of a row; empty outside the table.
const char* menuHelpText(int32_t row);

// Whether a row shows in the current menu state: the section list or the open
// section's page, and the per-weapon recoil rows only while ShowWeaponRecoil is 1.
bool isMenuRowVisible(int32_t row);

// Number of rows in the section headed by a Section row, hidden ones included.
int32_t sectionRowCount(int32_t headerRow);

// The line under a section's name; never null, empty when there is none.
const char* sectionSubtitle(const char* name);
