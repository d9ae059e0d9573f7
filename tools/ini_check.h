// The settings checker: what a player's Zentravisor.ini will load as, and where
// the load silently differs from what the player wrote.
//
// The values come from the plug-in's own load code (a loader callback runs
// loadSettings against a copy of the file); the checker only reads the text
// the way the profile functions do and compares the two.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace inicheck {

struct Result {
    std::vector<std::string> values;    // one line per setting: the value it loads as
    std::vector<std::string> warnings;  // one line per silent difference
    std::vector<std::string> notes;     // worth knowing, not wrong
};

// The value a setting holds now, as the report prints it.
std::string loadedText(const Setting& s);

// load(text) runs the plug-in's loadSettings against the text as the settings
// file and leaves the record filled; false when it could not.
bool check(const std::string& text, bool (*load)(const std::string& text), Result& r);

// The report as the player reads it; returns the exit status (1 when it warned).
int print(const std::string& path, const Result& r, FILE* out);

// The system the checker runs on (tools/lib/ini_check_sim.cpp on Linux,
// tools/lib/ini_check_win32.cpp on Windows): the load of a copy of the text,
// which never touches the player's own file; the file checked when none is
// named ("" for none); and a console window kept open until the player has
// read it.
bool loadCopy(const std::string& text);
std::string defaultPath();
void holdWindowOpen();

}  // namespace inicheck
