// Writes the settings reference (docs/settings.md) from the settings table,
// the plug-in's template and the menu item table.
// Usage: zv_settings_doc OUT.md
#include <cstdio>
#include <fstream>

#include "tools/settings_reference.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zv_settings_doc OUT.md\n");
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << reference::generate();
    return out ? 0 : 1;
}
