// docs/settings.md, generated: every setting from the settings table, its
// template value from the plug-in's own template, and its menu row and help
// text from the menu item table.
#pragma once
#include <string>

namespace reference {

// The whole of docs/settings.md.
std::string generate();

}  // namespace reference
