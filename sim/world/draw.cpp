#include "sim/world/draw.h"

#include "sim/sim.h"
#include "sim/world/feed.h"

namespace sim {

DrawModel draws;

namespace {
// A new frame starts with nothing on screen and the default text state.
const FrameStep beginFrame(Phase::BeforeScripts, -100, [] {
    draws.current.clear();
    draws.pending = TextStyle{};
});
const FrameStep endFrame(Phase::AfterScripts, -100, [] {
    if (draws.textCommandOpen) fail("a text command was left open at the end of the frame");
    draws.lastFrame = std::move(draws.current);
});
}  // namespace

void recordDraw(DrawItem item) {
    item.frame = frameIndex();
    draws.current.push_back(std::move(item));
}

std::vector<const DrawItem*> lastFrameRects() {
    std::vector<const DrawItem*> out;
    for (const DrawItem& d : draws.lastFrame)
        if (d.kind == DrawKind::Rect) out.push_back(&d);
    return out;
}
std::vector<const DrawItem*> lastFrameTexts() {
    std::vector<const DrawItem*> out;
    for (const DrawItem& d : draws.lastFrame)
        if (d.kind == DrawKind::Text) out.push_back(&d);
    return out;
}
const DrawItem* findText(const std::string& text) {
    for (const DrawItem& d : draws.lastFrame)
        if (d.kind == DrawKind::Text && d.text == text) return &d;
    return nullptr;
}

SIM_NATIVE(native::kDrawRect) {
    DrawItem d;
    d.kind = DrawKind::Rect;
    d.x = call.f(0);
    d.y = call.f(1);
    d.width = call.f(2);
    d.height = call.f(3);
    d.colour = {call.i(4), call.i(5), call.i(6), call.i(7)};
    recordDraw(std::move(d));
}
SIM_NATIVE(native::kSetTextFont) { draws.pending.font = call.i(0); }
SIM_NATIVE(native::kSetTextScale) {
    draws.pending.scaleX = call.f(0);
    draws.pending.scaleY = call.f(1);
}
SIM_NATIVE(native::kSetTextColour) {
    draws.pending.colour = {call.i(0), call.i(1), call.i(2), call.i(3)};
}
SIM_NATIVE(native::kSetTextOutline) { draws.pending.outline = true; }
SIM_NATIVE(native::kSetTextCentre) { draws.pending.centre = call.b(0); }
SIM_NATIVE(native::kSetTextWrap) {
    draws.pending.wrap = true;
    draws.pending.wrapStart = call.f(0);
    draws.pending.wrapEnd = call.f(1);
}
SIM_NATIVE(native::kBeginTextCommandDisplayText) {
    if (draws.textCommandOpen || feedCommandOpen()) fail("BEGIN_TEXT_COMMAND_DISPLAY_TEXT inside another text command");
    draws.textCommandOpen = true;
    draws.openText = DrawItem{};
    draws.openText.kind = DrawKind::Text;
    draws.openText.command = call.s(0) ? call.s(0) : "";
}
// The same component native feeds whichever text command is open.
SIM_NATIVE(native::kAddTextComponentSubstringPlayerName) {
    const char* text = call.s(0) ? call.s(0) : "";
    if (draws.textCommandOpen)
        draws.openText.text += text;
    else if (feedCommandOpen())
        addFeedComponent(text);
    else
        fail("ADD_TEXT_COMPONENT_SUBSTRING_PLAYER_NAME outside a text command");
}
SIM_NATIVE(native::kEndTextCommandDisplayText) {
    if (!draws.textCommandOpen) fail("END_TEXT_COMMAND_DISPLAY_TEXT without a BEGIN");
    draws.textCommandOpen = false;
    DrawItem d = std::move(draws.openText);
    d.x = call.f(0);
    d.y = call.f(1);
    d.style = draws.pending;
    draws.pending = TextStyle{};
    recordDraw(std::move(d));
}

}  // namespace sim
