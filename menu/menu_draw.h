// The menu renderer: one immediate-mode frame of the settings menu, and the two
// drawing primitives it shares with the controller's reset dialog.
#pragma once
#include <cstdint>

#include "runtime/runtime.h"

// Renderer state kept between frames. The controller resets the first five
// fields when the menu opens and the scroll when a section opens or closes.
struct MenuRenderState {
    uint32_t lastFrameTick;      // 0 = none yet
    float scrollTarget;          // panel units
    float scrollPosition;
    int32_t lastSeenSection;     // -999 = none
    float highlightTop;          // below -0.5 = unset
    float highlightHeight;
    float knob[kMenuRowCount];   // toggle knob positions, 0 off .. 1 on
    uint8_t knobsFilled;         // knobs are taken from their flags on the first frame ever drawn
    float fade;                  // A: menu fade 0..1
    float scale;                 // S: menu scale
    float slide;                 // X: slide offset to the right
    float rowFade;               // R: 1 except while a row at the list's edge is drawn
    char keyName[16];
    char buttonName[16];
};
extern MenuRenderState menuRender;

// Panel coordinates: equal to the screen when the menu is fully open. The
// primitives map them through the current scale and slide and scale alpha by
// the menu fade and row fade.
void drawMenuRect(float x, float y, float width, float height, int r, int g, int b, int a);
void drawMenuText(const char* text, float x, float y, float scale, int r, int g, int b, int a, bool centred);
// Text wrapped inside [wrapLeft, wrapRight] (panel x), without outline.
void drawMenuWrappedText(const char* text, float x, float y, float scale, int r, int g, int b, int a, bool centred,
                         float wrapLeft, float wrapRight);

// The alpha that the primitives give a drawing: a * A * R, rounded and clamped.
int menuAlpha(int a);

// One frame of the menu from the item table, the settings and the shared state.
void drawMenu();

// The names under which the binding rows show their bindings.
const char* menuKeyName(int32_t virtualKey);
const char* padButtonName(int32_t control);
