// Writes the default Zentravisor.ini, exactly as the plug-in writes it on its
// first start, to the given path. Usage: zv_ini_template OUT.ini
#include <cstdio>
#include <fstream>

#include "tools/settings_template.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zv_ini_template OUT.ini\n");
        return 2;
    }
    std::string text = templatefile::bytes();
    std::ofstream out(argv[1], std::ios::binary);
    out << text;
    if (text.empty() || !out) {
        std::fprintf(stderr, "zv_ini_template: no template written\n");
        return 1;
    }
    return 0;
}
