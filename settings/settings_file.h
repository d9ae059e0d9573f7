// The settings file, Zentravisor.ini beside the game executable.
#pragma once

// The file calls' results say only whether the file took the writes: in a
// folder the player may not write to (one under Program Files, for a program
// that is not elevated), every write fails and the settings live only until
// the game ends. The record keeps its values either way.
void buildSettingsPath();      // fills the path buffer from the executable's directory
bool writeSettingsTemplate();  // writes the default file when none exists; false when it cannot be made
bool loadSettings();           // fills every setting, with clamps and the binding migration; false when the migration's writes failed
bool saveSettings();           // writes all 72 settings; false when any write failed

// The feed notification for a file that did not take its writes: posted once at
// start-up and once for each save that failed.
constexpr char kSettingsNotSavedMessage[] =
    "~o~Zentravisor~s~ - Settings not saved: Zentravisor.ini can't be written here.";

const char* settingsFilePath();  // the path buffer, for tools and tests
