// The in-game settings menu.
#pragma once

void updateMenu();             // captures, open/close toggle, controller and drawing
void rebuildSelectableRows();  // the rows the cursor can land on, for the open section
