#include "settings/settings_file.h"

void buildSettingsPath() {}      // not built yet: the settings file comes with its own change
void writeSettingsTemplate() {}  // not built yet: the settings file comes with its own change
void loadSettings() {}           // not built yet: the settings file comes with its own change
void saveSettings() {}           // not built yet: the settings file comes with its own change
