// Text in the embedded faces, rasterised here, so every build draws the same pixels. Glyphs are
// rendered once per face and pixel size and kept; a line is its glyphs placed on whole pixels.
//
// Small sizes are hinted lightly, as desktop renderers do: the outline is stretched in y so that
// the baseline, the x-height and the cap height (and the overshoots of round letters) fall on
// pixel boundaries, which keeps the flat tops and bottoms of the letters sharp.
#include "text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "embedded.h"
#include "error.h"
#include "truetype.h"

namespace platform {
namespace {

const char* FontName(Face face) {
    return face == Face::Game ? "FONT" : "DIALOGFONT";
}

// a * b / c rounded to nearest, halves away from zero; c > 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
    const int64_t n = a * b;
    return n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c);
}

// a * b / c rounded up; a * b >= 0, c > 0.
int64_t MulDivCeil(int64_t a, int64_t b, int64_t c) {
    return (a * b + c - 1) / c;
}

// Points at 96 dpi to whole pixels: 24 -> 32, 17.5 -> 23, 8.25 -> 11.
int PixelSize(float points) {
    const double pixels = static_cast<double>(points) * 96.0 / 72.0;
    if (!(pixels >= 1.0)) return 1;  // also NaN
    return pixels > 1000.0 ? 1000 : static_cast<int>(pixels + 0.5);
}

[[noreturn]] void FontError(Face face, const std::string& what) {
    throw RuntimeError(kResourceNotFound,
                       std::string("Cannot open font '") + FontName(face) + "': " + what);
}

struct Glyph {
    int index = 0;
    int advance = 0;  // whole pixels
    GlyphCoverage coverage;
    // Each row's inked columns, from the first to one past the last with any coverage: most of
    // a cell is blank and is skipped.
    std::vector<std::pair<int, int>> inked{};
};

// Heights in font units that a y coordinate snaps to, lowest first, with where each lands in
// subpixels; between them the outline is stretched linearly, outside it keeps the plain scale.
struct Zones {
    std::array<int, 6> from{};
    std::array<int64_t, 6> to{};
};

// One face at one pixel size, with the glyphs of every character rendered so far.
struct Sized {
    int pixels = 0;
    int subpixels = 0;  // outline precision: a power of two, so the rasteriser's scale is exact
    int ascent = 0;     // baseline below the top of the cell
    int height = 0;
    Zones zones;
    std::array<std::optional<Glyph>, 256> glyphs;  // Latin-1, the game's own texts
    std::map<uint32_t, Glyph> others;              // beyond it: names in error reports
};

struct Font {
    std::unique_ptr<TrueType> face;
    std::map<int, Sized> sizes;
};

std::map<Face, Font>& Fonts() {
    static std::map<Face, Font> fonts;
    return fonts;
}

const TrueType& OpenFace(Face face) {
    Font& font = Fonts()[face];
    if (font.face) return *font.face;
    const std::span<const uint8_t> bytes = ResourceBytes("RCDATA", FontName(face));
    if (bytes.empty()) FontError(face, "not embedded in the program");
    auto opened = std::make_unique<TrueType>(bytes);
    if (!opened->Ok()) FontError(face, "not a TrueType font");
    font.face = std::move(opened);
    return *font.face;
}

// Font units to subpixels at the size's plain scale.
int64_t Scaled(const TrueType& tt, const Sized& size, int64_t units) {
    return MulDivRound(units, int64_t{size.pixels} * size.subpixels, tt.UnitsPerEm());
}

// The snapping heights: baseline, x-height and cap height, each with the overshoot of the round
// letters beyond it, all rounded to whole pixels.
Zones MakeZones(const TrueType& tt, const Sized& size) {
    const int sub = size.subpixels;
    auto pixels = [&](int64_t units) { return MulDivRound(units, size.pixels, tt.UnitsPerEm()); };
    const int base = 0, below = std::min(tt.Heights('o').first, -1);
    const int xHeight = std::max(tt.Heights('x').second, 1);
    const int xOver = std::max(tt.Heights('o').second, xHeight + 1);
    const int cap = std::max(tt.Heights('H').second, xOver + 1);
    const int capOver = std::max(tt.Heights('O').second, cap + 1);
    Zones z;
    z.from = {below, base, xHeight, xOver, cap, capOver};
    const int64_t x = pixels(xHeight), c = std::max(pixels(cap), x);
    const int64_t xo = std::min(x + pixels(xOver - xHeight), c);
    z.to = {
        -pixels(-below) * sub, 0, x * sub, xo * sub, c * sub, (c + pixels(capOver - cap)) * sub};
    return z;
}

OutlinePoint Place(const TrueType& tt, const Sized& size, int64_t shift, int x, int y) {
    const Zones& z = size.zones;
    int64_t placed;
    if (y <= z.from.front()) {
        placed = z.to.front() + Scaled(tt, size, y - z.from.front());
    } else if (y >= z.from.back()) {
        placed = z.to.back() + Scaled(tt, size, y - z.from.back());
    } else {
        size_t i = 1;
        while (y > z.from[i]) ++i;
        placed = z.to[i - 1] +
                 MulDivRound(y - z.from[i - 1], z.to[i] - z.to[i - 1], z.from[i] - z.from[i - 1]);
    }
    return {static_cast<int>(Scaled(tt, size, x) + shift), static_cast<int>(placed)};
}

Sized& Size(Face face, float points) {
    const TrueType& tt = OpenFace(face);
    const int pixels = PixelSize(points);
    auto [it, added] = Fonts()[face].sizes.try_emplace(pixels);
    Sized& size = it->second;
    if (added) {
        size.pixels = pixels;
        size.subpixels = pixels <= 256 ? 64 : 8;
        // The cell as desktop renderers measure it: ascender and descender rounded outwards.
        size.ascent = static_cast<int>(MulDivCeil(tt.Ascender(), pixels, tt.UnitsPerEm()));
        size.height = static_cast<int>(
            MulDivCeil(int64_t{tt.Ascender()} - tt.Descender(), pixels, tt.UnitsPerEm()));
        size.zones = MakeZones(tt, size);
    }
    return size;
}

Glyph RenderGlyph(const TrueType& tt, const Sized& size, uint32_t ch) {
    Glyph glyph;
    glyph.index = tt.Glyph(ch);
    glyph.advance =
        static_cast<int>(MulDivRound(tt.Advance(glyph.index), size.pixels, tt.UnitsPerEm()));
    // The glyph moves by under half a pixel so that its first stem starts on a pixel edge.
    int64_t shift = 0;
    if (const auto edge = tt.StemEdge(glyph.index, tt.UnitsPerEm() / 8)) {
        const int64_t at = Scaled(tt, size, *edge), sub = size.subpixels;
        shift = MulDivRound(at, 1, sub) * sub - at;
    }
    glyph.coverage = tt.Render(glyph.index, size.subpixels,
                               [&](int x, int y) { return Place(tt, size, shift, x, y); });
    const GlyphCoverage& c = glyph.coverage;
    for (int y = 0; y < c.height; ++y) {
        const uint8_t* row = c.alpha.data() + static_cast<size_t>(y) * c.width;
        int first = 0, end = c.width;
        while (first < end && row[first] == 0) ++first;
        while (end > first && row[end - 1] == 0) --end;
        glyph.inked.emplace_back(first, end);
    }
    return glyph;
}

// The game's strings are Latin-1, whose bytes are their own code points.
const Glyph& GlyphOf(const TrueType& tt, Sized& size, uint32_t ch) {
    if (ch < size.glyphs.size()) {
        std::optional<Glyph>& slot = size.glyphs[ch];
        if (!slot) slot = RenderGlyph(tt, size, ch);
        return *slot;
    }
    auto found = size.others.find(ch);
    if (found == size.others.end())
        found = size.others.emplace(ch, RenderGlyph(tt, size, ch)).first;
    return found->second;
}

// The next character of a UTF-8 text: the messages of the dialog face name files, and a path
// is UTF-8 on the desktop. A byte that starts no valid sequence stands for itself, as Latin-1.
uint32_t NextUtf8(const std::string& text, size_t& at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    const int length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
    uint32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    if (lead < 0x80 || lead >= 0xF5 || at + length > text.size()) return ++at, lead;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return ++at, lead;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms and surrogates are no characters.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code < 0xE000))
        return ++at, lead;
    at += length;
    return code;
}

// Calls draw(glyph, pen, ascent) for each character, the pen in whole pixels from the line's start;
// returns the line's width.
template <typename Draw>
int Layout(const std::string& text, Face face, float points, Draw draw) {
    const TrueType& tt = OpenFace(face);
    Sized& size = Size(face, points);
    int pen = 0;
    int previous = -1;
    for (size_t at = 0; at < text.size();) {
        const uint32_t ch =
            face == Face::Dialog ? NextUtf8(text, at) : static_cast<unsigned char>(text[at++]);
        if (ch == 0) break;  // the end of the string, as for the desktop's text calls
        const Glyph& glyph = GlyphOf(tt, size, ch);
        if (previous >= 0)
            pen += static_cast<int>(
                MulDivRound(tt.Kerning(previous, glyph.index), size.pixels, tt.UnitsPerEm()));
        draw(glyph, pen, size.ascent);
        pen += glyph.advance;
        previous = glyph.index;
    }
    return pen;
}

uint32_t Blend(uint32_t over, uint32_t under, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t o = (over >> shift) & 0xFF, u = (under >> shift) & 0xFF;
        out |= ((o * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

// A text laid out once: its glyphs with their pens, for as long as their font lives. The game
// prints the same few lines every tick.
struct Line {
    std::string text;
    Face face;
    float points;
    int ascent = 0;
    int width = 0;
    std::vector<std::pair<const Glyph*, int>> glyphs{};
};

constexpr size_t kLinesKept = 32;

std::vector<Line>& Lines() {
    static std::vector<Line> lines;
    return lines;
}

const Line& LaidOut(const std::string& text, Face face, float points) {
    std::vector<Line>& lines = Lines();
    for (const Line& line : lines)
        if (line.points == points && line.face == face && line.text == text) return line;
    if (lines.size() >= kLinesKept) lines.erase(lines.begin());
    Line line{text, face, points};
    line.width = Layout(text, face, points, [&](const Glyph& glyph, int pen, int ascent) {
        line.glyphs.emplace_back(&glyph, pen);
        line.ascent = ascent;
    });
    lines.push_back(std::move(line));
    return lines.back();
}

// Where a glyph's cell lands on the surface at (x, y), clipped; empty when it misses. In 64 bits:
// x and y may lie anywhere.
struct Clipped {
    int64_t x, y;                     // the cell's top-left on the surface
    int64_t left, top, right, bottom;  // the part of the cell inside it
    bool Empty() const { return left >= right || top >= bottom; }
};

Clipped Clip(const Surface& surface, int64_t x, int64_t y, const GlyphCoverage& glyph) {
    x += glyph.left;
    y += glyph.top;
    return {x,
            y,
            std::max<int64_t>(0, -x),
            std::max<int64_t>(0, -y),
            std::min<int64_t>(glyph.width, surface.Width() - x),
            std::min<int64_t>(glyph.height, surface.Height() - y)};
}

// Blends one glyph into the block drawn on, whose top-left pixel on the surface is `origin`.
void Paint(uint32_t* block, const Rect& origin, size_t stride, const Clipped& c,
           const Glyph& glyph, uint32_t rgb) {
    for (int64_t gy = c.top; gy < c.bottom; ++gy) {
        const auto [first, end] = glyph.inked[static_cast<size_t>(gy)];
        const int64_t from = std::max<int64_t>(c.left, first), to = std::min<int64_t>(c.right, end);
        const uint8_t* alpha = glyph.coverage.alpha.data() + gy * glyph.coverage.width + from;
        uint32_t* out = block + (c.y + gy - origin.y) * static_cast<int64_t>(stride) +
                        (c.x + from - origin.x);
        for (int64_t i = 0; i < to - from; ++i) {
            const uint32_t a = alpha[i];
            if (a == 255)
                out[i] = rgb;
            else if (a != 0)
                out[i] = Blend(rgb, out[i], a);
        }
    }
}

}  // namespace

void PrintText(Surface& surface, int x, int y, const std::string& text, float points, uint32_t rgb,
               Face face) {
    rgb &= 0xFFFFFF;
    const Line& line = LaidOut(text, face, points);
    // The block every glyph touches is drawn on as one.
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (const auto& [glyph, pen] : line.glyphs) {
        const Clipped c = Clip(surface, int64_t{x} + pen, int64_t{y} + line.ascent, glyph->coverage);
        if (c.Empty()) continue;
        left = std::min(left, c.x + c.left), top = std::min(top, c.y + c.top);
        right = std::max(right, c.x + c.right), bottom = std::max(bottom, c.y + c.bottom);
    }
    if (left >= right) return;
    const Rect block{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
    uint32_t* const pixels = surface.DrawBlock(block);
    for (const auto& [glyph, pen] : line.glyphs) {
        const Clipped c = Clip(surface, int64_t{x} + pen, int64_t{y} + line.ascent, glyph->coverage);
        if (!c.Empty()) Paint(pixels, block, surface.Stride(), c, *glyph, rgb);
    }
    surface.changed = true;
}

int TextWidth(const std::string& text, float points, Face face) {
    return LaidOut(text, face, points).width;
}

int TextHeight(float points, Face face) {
    return Size(face, points).height;
}

void ShutdownText() {
    Lines().clear();  // before the glyphs they point to
    Fonts().clear();
}

}  // namespace platform
