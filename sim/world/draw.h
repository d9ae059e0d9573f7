// What the game draws on screen for scripts, frame by frame: rectangles, texts
// and 3-D lines, in call order, as immediate-mode draw items. Every item lives
// for the frame in which it was issued; after the frame it moves to lastFrame,
// where tests and the rasterizer read it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class DrawKind : uint8_t { Rect, Text, Line };

struct Rgba {
    int r = 255, g = 255, b = 255, a = 255;
};

// The text-command state in force when a text was drawn. The game resets it
// after every text draw, so each text carries the state set just before it.
struct TextStyle {
    int font = 0;
    float scaleX = 1.0f, scaleY = 1.0f;  // SET_TEXT_SCALE (scale, size)
    Rgba colour;
    bool outline = false;
    bool centre = false;
    bool wrap = false;  // SET_TEXT_WRAP was called
    float wrapStart = 0.0f, wrapEnd = 1.0f;
};

struct DrawItem {
    DrawKind kind = DrawKind::Rect;
    uint32_t frame = 0;
    // Rect: centre and size in screen fractions. Text: position (left edge, or
    // centre when centred; top of the line).
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    Rgba colour;             // Rect and Line colour; a text's colour is in style
    std::string text;        // Text: its components, joined in order
    std::string command;     // Text: the text label the command began with ("STRING")
    TextStyle style;         // Text
    float from[3] = {}, to[3] = {};  // Line: world coordinates
};

struct DrawModel {
    std::vector<DrawItem> current;    // drawn so far in the running frame
    std::vector<DrawItem> lastFrame;  // everything the last finished frame drew
    TextStyle pending;                // text state set since the last text draw
    bool textCommandOpen = false;     // BEGIN_TEXT_COMMAND_DISPLAY_TEXT ... END
    DrawItem openText;
};
extern DrawModel draws;

// Appends an item to the running frame (the natives use it; a model that draws
// a new kind, such as 3-D lines, does too).
void recordDraw(DrawItem item);

// Queries over the last finished frame.
std::vector<const DrawItem*> lastFrameRects();
std::vector<const DrawItem*> lastFrameTexts();
const DrawItem* findText(const std::string& text);  // first text item equal to text, or null

}  // namespace sim
