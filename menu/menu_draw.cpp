#include "menu/menu_draw.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "menu/menu_items.h"
#include "runtime/controls.h"
#include "runtime/mathutil.h"
#include "runtime/natives.h"
#include "runtime/runtime.h"
#include "settings/settings.h"

MenuRenderState menuRender = {.lastFrameTick = 0, .scrollTarget = 0.0f, .scrollPosition = 0.0f,
                              .lastSeenSection = -999, .highlightTop = -1.0f, .highlightHeight = 0.0f,
                              .knob = {}, .knobsFilled = 0, .fade = 1.0f, .scale = 1.0f, .slide = 0.0f,
                              .rowFade = 1.0f, .keyName = {}, .buttonName = {}};

namespace {

// Bounded formatting: cuts the text to its buffer; empty on a formatting error.
template <size_t N, typename... Args>
void formatText(char (&out)[N], const char* format, Args... args) {
    if (std::snprintf(out, N, format, args...) < 0) out[0] = '\0';
}

struct Rgb {
    int r, g, b;
};
constexpr Rgb kAccent = {248, 156, 114};
constexpr Rgb kGrey = {180, 178, 172};
constexpr Rgb kGold = {239, 206, 99};
constexpr Rgb kInk = {13, 13, 16};
constexpr Rgb kRule = {30, 30, 34};
constexpr Rgb kPanel = {17, 17, 19};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kDanger = {224, 82, 82};     // the "Reset All" row
constexpr Rgb kOnGreen = {76, 175, 130};   // a toggle's "ON"

// Panel: 0.25 wide centred on x 0.15, centred on y 0.5; the list shows at most
// kMaxView of rows between a header band and a footer band.
constexpr float kPanelCentreX = 0.15f;
constexpr float kPanelCentreY = 0.5f;
constexpr float kPanelWidth = 0.25f;
constexpr float kMaxView = 0.5f;
constexpr float kHeaderHeight = 0.058f;
constexpr float kFooterHeight = 0.028f;
constexpr float kScrollMargin = 0.004f;   // kept between the selected row and the list's edge
constexpr float kScrollRate = 16.0f;      // per second, exponential
constexpr float kHighlightRate = 18.0f;   // per second, exponential
constexpr float kKnobRate = 14.0f;        // per second, exponential
constexpr float kHighlightJump = 0.2f;    // farther than this, the highlight snaps instead of sliding
constexpr float kMaxFrameTime = 0.1f;     // seconds
constexpr float kFirstFrameTime = 0.016f; // seconds

// Centres of two right-hand texts: an unselected slider's value and a page's subtitle.
constexpr float kValueTextX = 0.257f;
constexpr float kPageSubtitleX = 0.261f;

// The badge beside the title on the section list.
constexpr const char* kVersionBadge = "V2.7";

constexpr float kRowHeight = 0.046f;
constexpr float kSelectedSliderHeight = 0.064f;
constexpr float kSectionHeight = 0.056f;
constexpr float kCardHeight = 0.072f;
constexpr float kHeadingHeight = 0.06f;
constexpr float kLabelHeight = 0.072f;

void rect(float x, float y, float w, float h, Rgb c, int a) { drawMenuRect(x, y, w, h, c.r, c.g, c.b, a); }
void text(const char* s, float x, float y, float scale, Rgb c, int a, bool centred) {
    drawMenuText(s, x, y, scale, c.r, c.g, c.b, a, centred);
}
void wrapped(const char* s, float x, float y, float scale, Rgb c, int a, bool centred, float left, float right) {
    drawMenuWrappedText(s, x, y, scale, c.r, c.g, c.b, a, centred, left, right);
}
float screenX(float x) { return (x - kPanelCentreX) * menuRender.scale + kPanelCentreX - menuRender.slide; }
float screenY(float y) { return (y - kPanelCentreY) * menuRender.scale + kPanelCentreY; }

bool isKindoraHeading(const MenuItem& item) { return std::strstr(item.name, "KINDORA") != nullptr; }

int32_t selectedRow() {
    const MenuShared& m = menuShared;
    if (m.selectableCount <= 0 || m.cursor < 0 || m.cursor >= m.selectableCount) return -1;
    return m.selectable[m.cursor];
}

float rowHeight(int32_t row, int32_t selected) {
    const MenuItem& item = menuItems[row];
    switch (item.kind) {
        case MenuItemKind::Slider: return row == selected ? kSelectedSliderHeight : kRowHeight;
        case MenuItemKind::Section: return kSectionHeight;
        case MenuItemKind::SupporterName: return kCardHeight;
        case MenuItemKind::Label: return isKindoraHeading(item) ? kHeadingHeight : kLabelHeight;
        default: return kRowHeight;
    }
}

// The list's heights this frame: all visible rows, and where the selected row sits.
struct ListLayout {
    int32_t selected;  // table index, -1 = none
    float content;     // summed heights of the visible rows
    float view;        // the part of it the panel shows
    float before;      // summed heights above the selected row
    float runTop;      // top of the unbroken run of labels just above it (before when none)
    float selectedHeight;
};

ListLayout measureList() {
    ListLayout l{selectedRow(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    float labelRunTop = -1.0f;  // top of the run of label rows just above the selected row, -1 = none
    for (int32_t r = 0; r < kMenuRowCount; ++r) {
        if (!isMenuRowVisible(r)) continue;
        float h = rowHeight(r, l.selected);
        if (r < l.selected) {
            if (menuItems[r].kind != MenuItemKind::Label)
                labelRunTop = -1.0f;
            else if (labelRunTop < 0.0f)
                labelRunTop = l.before;
            l.before += h;
        }
        l.content += h;
    }
    l.runTop = labelRunTop >= 0.0f ? labelRunTop : l.before;
    if (l.selected >= 0) l.selectedHeight = rowHeight(l.selected, l.selected);
    l.view = l.content < kMaxView ? l.content : kMaxView;
    return l;
}

// Keeps the selected row, and the labels that introduce it, inside the window.
void updateScrollTarget(const ListLayout& l) {
    float& target = menuRender.scrollTarget;
    if (l.selected >= 0) {
        float t = std::fmin(target, l.runTop - kScrollMargin);
        float selBottom = l.before + l.selectedHeight + kScrollMargin;
        if (selBottom > t + l.view) t = selBottom - l.view;
        target = t;
    }
    float maxScroll = std::fmax(0.0f, l.content - l.view);
    if (target < 0.0f)
        target = 0.0f;
    else if (target > maxScroll)
        target = maxScroll;
}

// The help box under the panel: a fixed band of two lines of help text.
constexpr float kHelpBoxHeight = 0.052f;
constexpr float kHelpShadowHeight = 0.06f;
constexpr float kHelpTextScale = 0.285f;
constexpr float kHelpTextLeft = 0.037f;
constexpr float kHelpTextRight = 0.267f;

void formatSliderValue(const MenuItem& item, char (&out)[40]) {
    char value[32];
    formatText(value, item.format ? item.format : "%.2f", item.value ? double(*item.value) : 0.0);
    formatText(out, "%s%s", value, item.unit ? item.unit : "");
}

// The selected slider: a bar from 0.073 to 0.259 with its value above it.
void drawSliderBar(const MenuItem& item, float bottom) {
    constexpr float kBarLeft = 0.073f;
    constexpr float kBarRight = 0.259f;
    constexpr float kBarWidth = kBarRight - kBarLeft;
    constexpr float kBarCentre = (kBarLeft + kBarRight) / 2.0f;
    float v = item.value ? *item.value : 0.0f;
    float range = item.max - item.min;
    float f = range != 0.0f ? (v - item.min) / range : 0.0f;
    float g = range != 0.0f ? (item.defaultValue - item.min) / range : 0.0f;
    f = std::isfinite(f) ? clampf(f, 0.0f, 1.0f) : 0.0f;
    g = std::isfinite(g) ? clampf(g, 0.0f, 1.0f) : 0.0f;
    float yb = bottom - 0.014f;
    rect(kBarCentre, yb, kBarWidth, 0.004f, {70, 70, 78}, 255);               // track
    rect(kBarLeft + kBarWidth / 2.0f * f, yb, kBarWidth * f, 0.004f, kAccent, 255);  // fill
    rect(kBarLeft + kBarWidth * g, yb, 0.0012f, 0.01f, kWhite, 90);            // default tick
    rect(kBarLeft + kBarWidth * f, yb, 0.009f, 0.02f, kAccent, 60);            // knob glow
    rect(kBarLeft + kBarWidth * f, yb, 0.004f, 0.0145f, kWhite, 255);          // knob
    char valueText[40];
    formatSliderValue(item, valueText);
    text(valueText, kBarCentre, bottom - 0.041f, 0.3f, kGold, 255, true);
    char lo[24], hi[24];
    const char* format = item.format ? item.format : "%.2f";
    formatText(lo, format, double(item.min));
    formatText(hi, format, double(item.max));
    text(lo, kBarLeft, bottom - 0.038f, 0.205f, kGrey, 150, true);
    text(hi, kBarRight, bottom - 0.038f, 0.205f, kGrey, 150, true);
}

void drawToggleSwitch(int32_t row, const MenuItem& item, float c, float dt, bool selected) {
    bool on = item.flag && *item.flag == 1;
    float& knob = menuRender.knob[row];
    knob += ((on ? 1.0f : 0.0f) - knob) * expEaseFactor(kKnobRate, dt);
    float v = clampf(knob, 0.0f, 1.0f);
    Rgb track = {static_cast<int>(52.0f + 24.0f * v), static_cast<int>(52.0f + 123.0f * v),
                 static_cast<int>(58.0f + 72.0f * v)};
    rect(0.245f, c, 0.024f, 0.019f, track, selected ? 255 : 210);
    rect(0.2388f + 0.0124f * v, c, 0.0078f, 0.0138f, kWhite, selected ? 255 : 225);
    if (on)
        text("ON", 0.2205f, c - 0.0105f, 0.25f, kOnGreen, 230, true);
    else
        text("OFF", 0.2205f, c - 0.0105f, 0.25f, kGrey, 150, true);
}

void drawSupporterCard(const MenuItem& item, float c, float h, bool selected, double t) {
    float pulse = 0.78f + 0.22f * static_cast<float>(std::sin(0.004 * t));
    int ao = static_cast<int>(pulse * (selected ? 255.0f : 245.0f));
    int ai = static_cast<int>(0.7f * static_cast<float>(ao));
    Rgb frame = selected ? kWhite : Rgb{255, 232, 170};
    float k = h - 0.012f;
    float k2 = k - 0.01f;
    float j = k / 2.0f - 0.0065f;
    rect(0.15f, c, 0.232f, k, {26, 20, 8}, selected ? 250 : 235);
    // Outer frame.
    rect(0.15f, c - k / 2.0f + 0.00075f, 0.232f, 0.0015f, frame, ao);
    rect(0.15f, c + k / 2.0f - 0.00075f, 0.232f, 0.0015f, frame, ao);
    rect(0.03475f, c, 0.0015f, k, frame, ao);
    rect(0.26525f, c, 0.0015f, k, frame, ao);
    // Inner frame.
    rect(0.15f, c - k2 / 2.0f + 0.00075f, 0.222f, 0.0015f, frame, ai);
    rect(0.15f, c + k2 / 2.0f - 0.00075f, 0.222f, 0.0015f, frame, ai);
    rect(0.03975f, c, 0.0015f, k2, frame, ai);
    rect(0.26025f, c, 0.0015f, k2, frame, ai);
    // Corner brackets, top then bottom.
    for (float sign : {-1.0f, 1.0f}) {
        float arm = c + sign * j;
        float leg = c + sign * (j - 0.0065f);
        rect(0.047f, arm, 0.013f, 0.0024f, frame, ao);
        rect(0.253f, arm, 0.013f, 0.0024f, frame, ao);
        rect(0.0405f, leg, 0.0024f, 0.013f, frame, ao);
        rect(0.2595f, leg, 0.0024f, 0.013f, frame, ao);
    }
    text(item.name, 0.15f, c - 0.017f, 0.52f, kWhite, 255, true);
}

void drawLabelLine(const MenuItem& item, float y, float c) {
    if (isKindoraHeading(item)) {
        rect(0.062f, c, 0.034f, 0.002f, {212, 160, 52}, 220);
        rect(0.238f, c, 0.034f, 0.002f, {212, 160, 52}, 220);
        text(item.name, 0.15f, c - 0.015f, 0.4f, {255, 232, 170}, 255, true);
    } else if (std::strstr(item.name, "CONTRIBUTORS")) {
        wrapped(item.name, 0.15f, y + 0.02f, 0.255f, kWhite, 220, true, 0.039f, 0.261f);
    } else {
        rect(0.15f, y, 0.25f, 0.0015f, kRule, 160);
        wrapped(item.name, 0.15f, y + 0.006f, 0.255f, kGrey, 180, true, 0.039f, 0.261f);
    }
}

void drawSectionRow(int32_t row, const MenuItem& item, float y, float c, float h, bool selected) {
    rect(0.15f, c, 0.25f, h - 0.005f, kInk, selected ? 255 : 230);
    if (selected)
        text(item.name, 0.043f, y + 0.0055f, 0.37f, kWhite, 255, false);
    else
        text(item.name, 0.043f, y + 0.0055f, 0.37f, kAccent, 240, false);
    const char* subtitle = sectionSubtitle(item.name);
    if (subtitle[0]) text(subtitle, 0.043f, y + 0.029f, 0.225f, kGrey, selected ? 225 : 160, false);
    int32_t count = sectionRowCount(row);
    if (count > 0) {
        rect(0.2435f, c, 0.015f, 0.021f, kRule, selected ? 255 : 170);
        char countText[8];
        formatText(countText, "%d", count);
        text(countText, 0.2435f, c - 0.0102f, 0.25f, kGrey, selected ? 255 : 200, true);
    }
    text(">", 0.2625f, c - 0.013f, 0.36f, kAccent, selected ? 255 : 150, true);
}

void drawRow(int32_t row, float y, float h, float dt, double t, bool selected, float listBottom) {
    const MenuItem& item = menuItems[row];
    float c = y + h / 2.0f;
    float bottom = y + h;
    if (item.kind == MenuItemKind::Section) {
        drawSectionRow(row, item, y, c, h, selected);
        return;
    }
    if (bottom < listBottom - 0.0005f) rect(0.15f, bottom, 0.25f, 0.001f, kRule, 120);  // separator

    bool selectedSlider = selected && item.kind == MenuItemKind::Slider;
    float labelY = selectedSlider ? y + 0.008f : c - 0.013f;
    switch (item.kind) {
        case MenuItemKind::ContributorName:
            if (selected)
                text(item.name, 0.15f, labelY, 0.34f, kWhite, 255, true);
            else
                text(item.name, 0.15f, labelY, 0.34f, kGold, 200, true);
            return;
        case MenuItemKind::SupporterName: drawSupporterCard(item, c, h, selected, t); return;
        case MenuItemKind::Label: drawLabelLine(item, y, c); return;
        case MenuItemKind::Action:
            if (selected)
                text(item.name, 0.043f, labelY, 0.335f, {224, 110, 110}, 255, false);
            else
                text(item.name, 0.043f, labelY, 0.335f, kDanger, 210, false);
            break;
        default: text(item.name, 0.043f, labelY, 0.335f, selected ? kWhite : kGrey, 255, false); break;
    }

    switch (item.kind) {
        case MenuItemKind::Slider:
            if (selected) {
                drawSliderBar(item, bottom);
            } else {
                char valueText[40];
                formatSliderValue(item, valueText);
                text(valueText, kValueTextX, labelY, 0.335f, kGold, 200, true);
            }
            break;
        case MenuItemKind::Toggle: drawToggleSwitch(row, item, c, dt, selected); break;
        case MenuItemKind::Choice: {
            int32_t index = item.choiceIndex ? *item.choiceIndex : 0;
            const char* option = item.choiceNames && index >= 0 && index < item.choiceCount ? item.choiceNames[index] : "";
            rect(0.231f, c, 0.04f, 0.024f, kInk, selected ? 255 : 170);
            text("<", 0.198f, labelY, 0.3f, kAccent, selected ? 230 : 110, false);
            text(option ? option : "", 0.231f, labelY, 0.335f, kGold, 255, true);
            text(">", 0.262f, labelY, 0.3f, kAccent, selected ? 230 : 110, false);
            break;
        }
        case MenuItemKind::Action:
            rect(0.243f, c, 0.048f, 0.0235f, kDanger, selected ? 64 : 26);
            if (selected)
                text("ENTER", 0.243f, labelY, 0.285f, {224, 255, 255}, 255, true);
            else
                text("ENTER", 0.243f, labelY, 0.285f, kDanger, 180, true);
            break;
        case MenuItemKind::KeyBinding:
        case MenuItemKind::PadBinding: {
            bool key = item.kind == MenuItemKind::KeyBinding;
            bool capturing = key ? menuShared.keyCapture != 0 : menuShared.padCapture != 0;
            rect(0.231f, c, 0.056f, 0.024f, kInk, selected ? 255 : 170);
            if (capturing)
                text("PRESS...", 0.231f, labelY, 0.32f, kAccent, 255, true);
            else
                text(key ? menuKeyName(MenuKeyVK) : padButtonName(PadOpenBtn), 0.231f, labelY, 0.32f, kGold, 255, true);
            break;
        }
        case MenuItemKind::RevealToggle:
            rect(0.235f, c, 0.05f, 0.0235f, kInk, selected ? 255 : 170);
            text(item.flag && *item.flag ? "HIDE" : "SHOW", 0.235f, labelY, 0.3f, kAccent, selected ? 255 : 170, true);
            break;
        default: break;
    }
}

void drawHeader(float hy) {
    if (menuShared.openSection < 0) {
        text("ZENTRAVISOR", 0.039f, hy - 0.024f, 0.44f, kAccent, 255, false);
        text("FIRST PERSON CAMERA SUITE", 0.0398f, hy + 0.008f, 0.195f, kGrey, 190, false);
        rect(0.249f, hy - 0.0105f, 0.034f, 0.0185f, kAccent, 46);
        text(kVersionBadge, 0.249f, hy - 0.0195f, 0.27f, kAccent, 255, true);
        text("EARLY ACCESS", 0.249f, hy + 0.005f, 0.165f, kAccent, 200, true);
        return;
    }
    const char* name = menuShared.openSection < kMenuRowCount ? menuItems[menuShared.openSection].name : "";
    text("<", 0.037f, hy - 0.0145f, 0.42f, kAccent, 255, false);
    text("ZENTRAVISOR", 0.0555f, hy - 0.0235f, 0.19f, kGrey, 160, false);
    text(name, 0.055f, hy - 0.009f, 0.4f, kWhite, 255, false);
    const char* subtitle = sectionSubtitle(name);
    if (subtitle[0]) text(subtitle, kPageSubtitleX, hy + 0.0075f, 0.18f, kGrey, 150, true);
}

}  // namespace

int menuAlpha(int a) {
    float v = static_cast<float>(a) * menuRender.fade * menuRender.rowFade + 0.5f;
    if (!(v > 0.0f)) return 0;
    return v >= 255.0f ? 255 : static_cast<int>(v);
}

void drawMenuRect(float x, float y, float width, float height, int r, int g, int b, int a) {
    float sx = screenX(x), sy = screenY(y), w = width * menuRender.scale, h = height * menuRender.scale;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(w) || !std::isfinite(h)) return;
    game::drawRect(sx, sy, w, h, r, g, b, menuAlpha(a));
}

void drawMenuText(const char* s, float x, float y, float scale, int r, int g, int b, int a, bool centred) {
    float sx = screenX(x), sy = screenY(y), size = scale * menuRender.scale;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(size)) return;
    game::setTextFont(4);
    game::setTextScale(size, size);
    game::setTextColour(r, g, b, menuAlpha(a));
    game::setTextOutline();
    if (centred) game::setTextCentre(true);
    game::beginTextCommandDisplayText("STRING");
    game::addTextComponentSubstringPlayerName(s);
    game::endTextCommandDisplayText(sx, sy);
}

void drawMenuWrappedText(const char* s, float x, float y, float scale, int r, int g, int b, int a, bool centred,
                         float wrapLeft, float wrapRight) {
    float sx = screenX(x), sy = screenY(y), size = scale * menuRender.scale;
    float left = screenX(wrapLeft), right = screenX(wrapRight);
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(size) || !std::isfinite(left) || !std::isfinite(right))
        return;
    game::setTextFont(4);
    game::setTextScale(size, size);
    game::setTextColour(r, g, b, menuAlpha(a));
    game::setTextWrap(left, right);
    if (centred) game::setTextCentre(true);
    game::beginTextCommandDisplayText("STRING");
    game::addTextComponentSubstringPlayerName(s);
    game::endTextCommandDisplayText(sx, sy);
}

const char* menuKeyName(int32_t vk) {
    char(&out)[16] = menuRender.keyName;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        formatText(out, "%c", static_cast<char>(vk));
        return out;
    }
    if (vk >= 112 && vk <= 123) {
        formatText(out, "F%d", vk - 111);
        return out;
    }
    switch (vk) {
        case 5: return "MOUSE4";
        case 6: return "MOUSE5";
        case 9: return "TAB";
        case 13: return "ENTER";
        case 20: return "CAPS";
        case 32: return "SPACE";
        case 33: return "PGUP";
        case 34: return "PGDN";
        case 35: return "END";
        case 36: return "HOME";
        case 45: return "INS";
        case 46: return "DEL";
        case 186: return ";";
        case 187: return "=";
        case 188: return ",";
        case 189: return "-";
        case 190: return ".";
        case 191: return "/";
        case 192: return "`";
        case 219: return "[";
        case 220: return "\\";
        case 221: return "]";
        case 222: return "'";
        default: formatText(out, "K%d", vk); return out;
    }
}

const char* padButtonName(int32_t control) {
    if (control <= 0) return "NONE";
    switch (control) {
        case kControlPadDpadUp: return "DPAD UP";
        case kControlPadDpadDown: return "DPAD DOWN";
        case kControlPadDpadLeft: return "DPAD LEFT";
        case kControlPadDpadRight: return "DPAD RIGHT";
        case kControlPadB: return "B";
        case kControlPadStart: return "START";
        case kControlPadBack: return "BACK";
        case kControlPadY: return "Y";
        case kControlPadX: return "X";
        case kControlPadLB: return "LB";
        case kControlPadRB: return "RB";
        case kControlPadLT: return "LT";
        case kControlPadRT: return "RT";
        case kControlPadL3: return "L3";
        case kControlPadR3: return "R3";
        default:
            formatText(menuRender.buttonName, "BTN %d", control);
            return menuRender.buttonName;
    }
}

void drawMenu() {
    MenuRenderState& st = menuRender;
    const MenuShared& m = menuShared;

    // Frame time, at most 0.1 s; 0.016 s on the first frame after opening.
    float d = secondsSinceLast(st.lastFrameTick, kFirstFrameTime, kMaxFrameTime);

    // Scroll target: the selected row and its introducing labels in view.
    ListLayout l = measureList();
    updateScrollTarget(l);

    // A new page snaps the scroll and the highlight.
    if (m.openSection != st.lastSeenSection) {
        st.scrollPosition = st.scrollTarget;
        st.highlightTop = -1.0f;
        st.lastSeenSection = m.openSection;
    }

    // Scroll position eases toward the target.
    st.scrollPosition += (st.scrollTarget - st.scrollPosition) * expEaseFactor(kScrollRate, d);
    if (std::fabs(st.scrollTarget - st.scrollPosition) < 0.0002f) st.scrollPosition = st.scrollTarget;

    // Open/close: fade, scale from 96 % and a slide from the right, cubic eased.
    float p = m.openProgress;
    float e = m.closing ? p * p * p : 1.0f - (1.0f - p) * (1.0f - p) * (1.0f - p);
    st.fade = e;
    st.scale = 0.96f + 0.04f * e;
    st.slide = 0.016f * (1.0f - e);
    st.rowFade = 1.0f;

    // Toggle knobs start where their flags are, once per process.
    if (!st.knobsFilled) {
        for (int32_t r = 0; r < kMenuRowCount; ++r) {
            const MenuItem& item = menuItems[r];
            st.knob[r] = item.kind == MenuItemKind::Toggle && item.flag && *item.flag ? 1.0f : 0.0f;
        }
        st.knobsFilled = 1;
    }

    // Panel geometry: header band, the list window, footer band.
    float panelH = l.view + kHeaderHeight + kFooterHeight;
    float top = kPanelCentreY - panelH / 2.0f;
    float listTop = top + kHeaderHeight;
    float listBottom = listTop + l.view;

    // Pulse clock of this frame (double: a float tick loses the milliseconds).
    double t = static_cast<double>(frameTick);

    // Panel with its drop shadow.
    rect(0.153f, 0.504f, 0.256f, panelH + 0.008f, kBlack, 90);
    rect(kPanelCentreX, kPanelCentreY, kPanelWidth, panelH, kPanel, 250);

    // Rows, faded by the square of their visible fraction at the window's edges.
    float y = listTop - st.scrollPosition;
    for (int32_t r = 0; r < kMenuRowCount; ++r) {
        if (!isMenuRowVisible(r)) continue;
        float h = rowHeight(r, l.selected);
        float bottom = y + h;
        if (!(listTop - h > bottom || y > listBottom + h)) {
            float f = 1.0f;
            if (y < listTop) f = std::fmin(1.0f, 1.0f - (listTop - y) / h);
            if (bottom > listBottom) f = std::fmin(f, 1.0f - (bottom - listBottom) / h);
            if (f > 0.0f) {
                st.rowFade = f * f;
                drawRow(r, y, h, d, t, r == l.selected, listBottom);
                st.rowFade = 1.0f;
            }
        }
        y = bottom;
    }

    // Highlight bar: slides to the selected row, clipped to the list window.
    if (l.selected >= 0) {
        float selTop = listTop - st.scrollPosition + l.before;
        if (st.highlightTop < -0.5f || std::fabs(st.highlightTop - selTop) > kHighlightJump) {
            st.highlightTop = selTop;
            st.highlightHeight = l.selectedHeight;
        }
        float k = expEaseFactor(kHighlightRate, d);
        st.highlightTop += (selTop - st.highlightTop) * k;
        st.highlightHeight += (l.selectedHeight - st.highlightHeight) * k;
        float a = std::fmax(listTop, st.highlightTop);
        float b = std::fmin(listBottom, st.highlightTop + st.highlightHeight);
        if (b > a + 0.002f) {
            rect(kPanelCentreX, (a + b) / 2.0f, kPanelWidth, b - a, kWhite, 10);
            int pulse = static_cast<int>(255.0 * (0.72 + 0.28 * std::sin(0.005 * t)));
            rect(0.0278f, (a + b) / 2.0f, 0.0035f, 0.66f * (b - a), kAccent, pulse);
        }
    }

    // Header band with its accent rule, then the title or the page name.
    float hy = top + 0.029f;
    rect(kPanelCentreX, top + 0.029f, kPanelWidth, kHeaderHeight, kInk, 255);
    rect(kPanelCentreX, listTop, kPanelWidth, 0.002f, kAccent, 255);
    rect(kPanelCentreX, listTop + 0.002f, kPanelWidth, 0.001f, kAccent, 80);
    drawHeader(hy);

    // Footer: input hints and the cursor counter.
    rect(kPanelCentreX, listBottom + 0.014f, kPanelWidth, kFooterHeight, kInk, 255);
    rect(kPanelCentreX, listBottom, kPanelWidth, 0.001f, kRule, 255);
    text(m.openSection < 0 ? "ENTER OPEN    BKSP CLOSE" : "L/R ADJUST    NUM5 RESET    BKSP BACK", 0.039f,
         listBottom + 0.0055f, 0.2f, kGrey, 200, false);
    char counter[20];
    formatText(counter, "%d / %d", m.selectableCount > 0 ? m.cursor + 1 : 0, m.selectableCount);
    text(counter, 0.259f, listBottom + 0.0055f, 0.2f, kAccent, 210, true);
    rect(kPanelCentreX, top + panelH, kPanelWidth, 0.002f, kAccent, 160);

    // Scrollbar, only when the list does not fit.
    if (l.content > l.view + 0.0001f) {
        rect(0.2715f, listTop + l.view / 2.0f, 0.0026f, l.view, kRule, 170);
        float th = std::fmax(0.02f, l.view * l.view / l.content);
        float q = clampf(st.scrollPosition / (l.content - l.view), 0.0f, 1.0f);
        rect(0.2715f, listTop + th / 2.0f + (l.view - th) * q, 0.0026f, th, kAccent, 235);
    }

    // Help box under the panel for the selected row.
    const char* help = menuHelpText(l.selected);
    if (help[0]) {
        float hb = top + panelH + 0.03f;
        rect(0.153f, hb + 0.004f, 0.256f, kHelpShadowHeight, kBlack, 80);
        rect(kPanelCentreX, hb, kPanelWidth, kHelpBoxHeight, kInk, 242);
        rect(0.0266f, hb, 0.0032f, kHelpBoxHeight, kAccent, 220);
        rect(kPanelCentreX, hb + kHelpBoxHeight / 2.0f, kPanelWidth, 0.0015f, kRule, 120);
        wrapped(help, kHelpTextLeft, hb - 0.014f, kHelpTextScale, kGrey, 210, false, kHelpTextLeft, kHelpTextRight);
    }
}
