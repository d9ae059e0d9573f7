// Writes the shipped presets (tools/presets.h) into a folder, one
// NAME.ini each. Usage: zv_presets OUT_DIR
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/presets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zv_presets OUT_DIR\n");
        return 2;
    }
    int failures = 0;
    for (const presets::Preset& p : presets::all()) {
        std::string text = presets::bytes(p);
        std::string path = std::string(argv[1]) + "/" + p.name + ".ini";
        std::ofstream out(path, std::ios::binary);
        out << text;
        if (text.empty() || !out) {
            std::fprintf(stderr, "zv_presets: %s not written\n", path.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
