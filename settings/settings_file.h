// The settings file, Zentravisor.ini beside the game executable.
#pragma once

void buildSettingsPath();      // fills the path buffer from the executable's directory
void writeSettingsTemplate();  // writes the default file when none exists
void loadSettings();           // fills every setting, with clamps and the binding migration
void saveSettings();           // writes all 72 settings

const char* settingsFilePath();  // the path buffer, for tools and tests
