#include "menu/menu.h"

void updateMenu() {}             // not built yet: the menu comes with its own change
void rebuildSelectableRows() {}  // not built yet: the menu comes with its own change
