#include "sim/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "sim/scene_render.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace sim {
namespace {

// The game's menu font is a condensed sans; Roboto Condensed (Debian's
// fonts-roboto-unhinted) stands in for it at its own widths.
constexpr const char* kFontPath = "/usr/share/fonts/truetype/roboto/unhinted/RobotoCondensed-Regular.ttf";
// Text scale 1 is a line of about 6.4 % of the screen height in the game's menu
// fonts, whose glyphs sit a little below the line's top.
constexpr float kLineHeightPerScale = 0.064f * kScreenHeight;
constexpr float kTopPadding = 0.15f;  // of the line height
constexpr float kWrapLineSpacing = 0.92f;  // wrapped lines, in line heights

// A picture of any size; the screen's fractions and the text scale with it.
struct Canvas {
    int width, height;
    std::vector<float>& rgb;  // three floats 0..1 per pixel, rows top down

    float textScale() const { return float(height) / kScreenHeight; }
    void blend(int x, int y, const Rgba& c, float coverage) {
        if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) return;
        float a = std::clamp(c.a, 0, 255) / 255.0f * std::min(coverage, 1.0f);
        float* p = &rgb[(size_t(y) * width + x) * 3];
        p[0] += (std::clamp(c.r, 0, 255) / 255.0f - p[0]) * a;
        p[1] += (std::clamp(c.g, 0, 255) / 255.0f - p[1]) * a;
        p[2] += (std::clamp(c.b, 0, 255) / 255.0f - p[2]) * a;
    }
};

// A muted dusk street scene in flat bands, so translucent panels read as they would in the game.
void paintBackdrop(Canvas& canvas) {
    for (int y = 0; y < canvas.height; ++y) {
        float t = float(y) / canvas.height;
        float r, g, b;
        if (t < 0.55f) {  // sky
            float k = t / 0.55f;
            r = 0.32f + 0.30f * k, g = 0.36f + 0.20f * k, b = 0.46f + 0.06f * k;
        } else {  // ground
            float k = (t - 0.55f) / 0.45f;
            r = 0.22f - 0.10f * k, g = 0.21f - 0.10f * k, b = 0.22f - 0.09f * k;
        }
        for (int x = 0; x < canvas.width; ++x) {
            float* p = &canvas.rgb[(size_t(y) * canvas.width + x) * 3];
            p[0] = r, p[1] = g, p[2] = b;
        }
    }
}

// Filled rectangle with exact pixel coverage at its edges (hairlines stay visible).
void paintRect(Canvas& canvas, const DrawItem& d) {
    const int width = canvas.width, height = canvas.height;
    float x0 = (d.x - d.width / 2) * width, x1 = (d.x + d.width / 2) * width;
    float y0 = (d.y - d.height / 2) * height, y1 = (d.y + d.height / 2) * height;
    if (!(x1 > x0) || !(y1 > y0)) return;
    int px0 = std::max(0, int(std::floor(x0))), px1 = std::min(width - 1, int(std::ceil(x1)) - 1);
    int py0 = std::max(0, int(std::floor(y0))), py1 = std::min(height - 1, int(std::ceil(y1)) - 1);
    for (int y = py0; y <= py1; ++y) {
        float cy = std::min(y1, float(y + 1)) - std::max(y0, float(y));
        for (int x = px0; x <= px1; ++x) {
            float cx = std::min(x1, float(x + 1)) - std::max(x0, float(x));
            canvas.blend(x, y, d.colour, cx * cy);
        }
    }
}

// A 3-D line of the frame, projected through the view: about 1.5 pixels wide,
// its edges anti-aliased by the distance of each pixel centre to the segment.
void paintLine(Canvas& canvas, const DrawItem& d, const ViewPose& view) {
    constexpr float kHalfWidth = 0.75f;  // pixels
    float sx0, sy0, sx1, sy1;
    if (!projectSegment(view, {d.from[0], d.from[1], d.from[2]}, {d.to[0], d.to[1], d.to[2]}, sx0, sy0, sx1, sy1))
        return;
    const int width = canvas.width, height = canvas.height;
    float x0 = sx0 * width, y0 = sy0 * height, x1 = sx1 * width, y1 = sy1 * height;
    // Keep the part inside a margin around the screen (a point close to the
    // camera plane can project very far out).
    const float kMargin = 4.0f * width;
    if (std::fabs(x0) > kMargin || std::fabs(x1) > kMargin || std::fabs(y0) > kMargin || std::fabs(y1) > kMargin) {
        float t0 = 0.0f, t1 = 1.0f;
        const float p[4] = {-(x1 - x0), x1 - x0, -(y1 - y0), y1 - y0};
        const float q[4] = {x0 + kMargin, kMargin - x0, y0 + kMargin, kMargin - y0};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0.0f) {
                if (q[k] < 0.0f) return;
                continue;
            }
            float t = q[k] / p[k];
            if (p[k] < 0.0f) t0 = std::max(t0, t);
            else t1 = std::min(t1, t);
        }
        if (t0 > t1) return;
        float dx = x1 - x0, dy = y1 - y0;
        x1 = x0 + dx * t1, y1 = y0 + dy * t1;
        x0 = x0 + dx * t0, y0 = y0 + dy * t0;
    }
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    int px0 = std::max(0, int(std::floor(std::min(x0, x1) - 2))), px1 = std::min(width - 1, int(std::ceil(std::max(x0, x1) + 2)));
    int py0 = std::max(0, int(std::floor(std::min(y0, y1) - 2))), py1 = std::min(height - 1, int(std::ceil(std::max(y0, y1) + 2)));
    bool steep = std::fabs(dy) > std::fabs(dx);
    // Walk the major axis; only pixels within two of the line on the minor axis.
    int from = steep ? py0 : px0, to = steep ? py1 : px1;
    for (int m = from; m <= to; ++m) {
        float c = float(m) + 0.5f;
        float t = steep ? (dy != 0.0f ? (c - y0) / dy : 0.0f) : (dx != 0.0f ? (c - x0) / dx : 0.0f);
        float minor = steep ? x0 + dx * std::clamp(t, 0.0f, 1.0f) : y0 + dy * std::clamp(t, 0.0f, 1.0f);
        for (int n = int(std::floor(minor)) - 2; n <= int(std::floor(minor)) + 2; ++n) {
            int x = steep ? n : m, y = steep ? m : n;
            if (x < px0 || x > px1 || y < py0 || y > py1) continue;
            float cx = float(x) + 0.5f, cy = float(y) + 0.5f;
            float u = len2 > 0.0f ? std::clamp(((cx - x0) * dx + (cy - y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
            float ex = cx - (x0 + dx * u), ey = cy - (y0 + dy * u);
            float dist = std::sqrt(ex * ex + ey * ey);
            canvas.blend(x, y, d.colour, std::clamp(kHalfWidth + 0.5f - dist, 0.0f, 1.0f));
        }
    }
}

struct Font {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
    bool loaded = false;
};

Font& font() {
    static Font f;
    if (!f.loaded) {
        std::ifstream in(kFontPath, std::ios::binary);
        f.data.assign(std::istreambuf_iterator<char>(in), {});
        f.loaded = !f.data.empty() && stbtt_InitFont(&f.info, f.data.data(), stbtt_GetFontOffsetForIndex(f.data.data(), 0));
    }
    return f;
}

std::vector<int> decodeUtf8(const std::string& s) {
    std::vector<int> out;
    for (size_t k = 0; k < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[k]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        int cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int e = 1; e <= extra && k + e < s.size(); ++e) cp = (cp << 6) | (static_cast<unsigned char>(s[k + e]) & 0x3F);
        out.push_back(cp);
        k += size_t(extra) + 1;
    }
    return out;
}

struct TextMetrics {
    float scaleX, scaleY;  // font units to pixels
    float lineHeight;      // pixels
    float ascent;          // pixels
};

TextMetrics metricsFor(const TextStyle& style, float canvasScale) {
    Font& f = font();
    float height = std::max(1.0f, style.scaleY * kLineHeightPerScale * canvasScale);
    float s = stbtt_ScaleForPixelHeight(&f.info, height);
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &gap);
    float sx = s * (style.scaleY > 0 ? style.scaleX / style.scaleY : 1.0f);
    return {sx, s, height, ascent * s};
}

float widthOf(const std::vector<int>& cps, size_t from, size_t to, const TextMetrics& m) {
    Font& f = font();
    float w = 0;
    for (size_t k = from; k < to; ++k) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&f.info, cps[k], &advance, &lsb);
        w += advance * m.scaleX;
        if (k + 1 < to) w += stbtt_GetCodepointKernAdvance(&f.info, cps[k], cps[k + 1]) * m.scaleX;
    }
    return w;
}

void paintGlyphs(Canvas& canvas, const std::vector<int>& cps, size_t from, size_t to, float x, float baseline,
                 const TextMetrics& m, const Rgba& colour, bool outline) {
    Font& f = font();
    for (size_t k = from; k < to; ++k) {
        int advance, lsb;
        stbtt_GetCodepointHMetrics(&f.info, cps[k], &advance, &lsb);
        float shiftX = x - std::floor(x);
        int gx0, gy0, gx1, gy1;
        stbtt_GetCodepointBitmapBoxSubpixel(&f.info, cps[k], m.scaleX, m.scaleY, shiftX, 0, &gx0, &gy0, &gx1, &gy1);
        int w = gx1 - gx0, h = gy1 - gy0;
        if (w > 0 && h > 0) {
            std::vector<unsigned char> bitmap(size_t(w) * h);
            stbtt_MakeCodepointBitmapSubpixel(&f.info, bitmap.data(), w, h, w, m.scaleX, m.scaleY, shiftX, 0, cps[k]);
            int ox = int(std::floor(x)) + gx0, oy = int(std::lround(baseline)) + gy0;
            if (outline) {
                Rgba shadow{0, 0, 0, colour.a};
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (dx || dy)
                            for (int j = 0; j < h; ++j)
                                for (int i = 0; i < w; ++i)
                                    canvas.blend(ox + i + dx, oy + j + dy, shadow, bitmap[size_t(j) * w + i] / 255.0f * 0.35f);
            }
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) canvas.blend(ox + i, oy + j, colour, bitmap[size_t(j) * w + i] / 255.0f);
        }
        x += advance * m.scaleX;
        if (k + 1 < to) x += stbtt_GetCodepointKernAdvance(&f.info, cps[k], cps[k + 1]) * m.scaleX;
    }
}

// Splits at spaces so that no line is wider than the wrap window (a single long word stays whole).
std::vector<std::pair<size_t, size_t>> wrapLines(const std::vector<int>& cps, float maxWidth, const TextMetrics& m) {
    std::vector<std::pair<size_t, size_t>> lines;
    size_t start = 0;
    while (start < cps.size()) {
        size_t end = start, lastFit = start;
        while (end <= cps.size()) {
            if (end == cps.size() || cps[end] == ' ') {
                if (widthOf(cps, start, end, m) > maxWidth && lastFit > start) break;
                lastFit = end;
                if (end == cps.size()) break;
            }
            ++end;
        }
        if (lastFit == start) lastFit = std::max(end, start + 1);
        lastFit = std::min(lastFit, cps.size());
        lines.emplace_back(start, lastFit);
        start = lastFit;
        while (start < cps.size() && cps[start] == ' ') ++start;
    }
    return lines;
}

void paintText(Canvas& canvas, const DrawItem& d) {
    const TextStyle& st = d.style;
    if (st.colour.a <= 0 || st.scaleY <= 0) return;
    TextMetrics m = metricsFor(st, canvas.textScale());
    std::vector<int> cps = decodeUtf8(d.text);
    float x = d.x * canvas.width, top = d.y * canvas.height;
    std::vector<std::pair<size_t, size_t>> lines;
    if (st.wrap)
        lines = wrapLines(cps, (st.wrapEnd - st.wrapStart) * canvas.width, m);
    else
        lines.emplace_back(0, cps.size());
    for (size_t n = 0; n < lines.size(); ++n) {
        auto [from, to] = lines[n];
        float w = widthOf(cps, from, to, m);
        float left = st.centre ? x - w / 2 : x;
        float baseline = top + m.lineHeight * kTopPadding + m.ascent + float(n) * m.lineHeight * kWrapLineSpacing;
        paintGlyphs(canvas, cps, from, to, left, baseline, m, st.colour, st.outline);
    }
}

}  // namespace

bool fontLoaded() {
    if (font().loaded) return true;
    std::fprintf(stderr, "raster: cannot load the font %s\n", kFontPath);
    return false;
}

void paintItems(const std::vector<DrawItem>& items, const ViewPose* view, int width, int height, std::vector<float>& rgb) {
    Canvas canvas{width, height, rgb};
    for (const DrawItem& d : items) {
        if (d.kind == DrawKind::Rect) paintRect(canvas, d);
        if (d.kind == DrawKind::Text) paintText(canvas, d);
        if (d.kind == DrawKind::Line && view) paintLine(canvas, d, *view);
    }
}

std::vector<unsigned char> toBytes(const std::vector<float>& rgb) {
    std::vector<unsigned char> bytes(rgb.size());
    // Plain pointers and a branch-free body, so that the loop vectorises (a
    // byte store through the vector could alias its own size).
    const float* from = rgb.data();
    unsigned char* to = bytes.data();
    const size_t n = bytes.size();
    for (size_t k = 0; k < n; ++k) {
        float v = from[k] * 255.0f + 0.5f;
        v = v < 0.0f ? 0.0f : v;
        v = v > 255.0f ? 255.0f : v;
        to[k] = static_cast<unsigned char>(static_cast<int>(v));
    }
    return bytes;
}

std::vector<unsigned char> rasterizeFrame(const std::vector<DrawItem>& items, const ViewPose* view) {
    if (!fontLoaded()) return {};
    std::vector<float> rgb(size_t(kScreenWidth) * kScreenHeight * 3);
    if (view) {
        paintWorld(*view, kScreenWidth, kScreenHeight, rgb);
    } else {
        Canvas canvas{kScreenWidth, kScreenHeight, rgb};
        paintBackdrop(canvas);
    }
    paintItems(items, view, kScreenWidth, kScreenHeight, rgb);
    return toBytes(rgb);
}

bool writeFramePng(const std::vector<DrawItem>& items, const std::string& path, const ViewPose* view) {
    std::vector<unsigned char> bytes = rasterizeFrame(items, view);
    if (bytes.empty()) return false;
    if (!stbi_write_png(path.c_str(), kScreenWidth, kScreenHeight, 3, bytes.data(), kScreenWidth * 3)) {
        std::fprintf(stderr, "raster: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace sim
