// The face reader and rasteriser come from stb_truetype, compiled here once; its own code is kept
// out of the game's warnings.
#include "truetype.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wcast-qual"
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>
#pragma GCC diagnostic pop

namespace platform {
namespace {

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int CeilDiv(int a, int b) {
    return -FloorDiv(-a, b);
}

}  // namespace

TrueType::TrueType(std::span<const uint8_t> bytes) : info_(std::make_unique<stbtt_fontinfo>()) {
    if (bytes.size() < 12 || stbtt_GetNumberOfFonts(bytes.data()) < 1) return;
    if (stbtt_InitFont(info_.get(), bytes.data(), stbtt_GetFontOffsetForIndex(bytes.data(), 0)) ==
        0)
        return;
    unitsPerEm_ = ttUSHORT(info_->data + info_->head + 18);
    int lineGap = 0;
    stbtt_GetFontVMetrics(info_.get(), &ascender_, &descender_, &lineGap);
    ok_ = unitsPerEm_ > 0 && ascender_ > descender_;
}

TrueType::~TrueType() = default;

int TrueType::Glyph(uint32_t codepoint) const {
    return stbtt_FindGlyphIndex(info_.get(), static_cast<int>(codepoint));
}

int TrueType::Advance(int glyph) const {
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(info_.get(), glyph, &advance, &bearing);
    return advance;
}

int TrueType::Kerning(int left, int right) const {
    return stbtt_GetGlyphKernAdvance(info_.get(), left, right);
}

std::pair<int, int> TrueType::Heights(uint32_t codepoint) const {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (stbtt_GetGlyphBox(info_.get(), Glyph(codepoint), &x0, &y0, &x1, &y1) == 0) return {0, 0};
    return {y0, y1};
}

std::optional<int> TrueType::StemEdge(int glyph, int length) const {
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(info_.get(), glyph, &vertices);
    std::unique_ptr<stbtt_vertex, decltype(&std::free)> owned(vertices, &std::free);
    std::optional<int> edge;
    for (int i = 1; i < count; ++i) {
        const stbtt_vertex &from = vertices[i - 1], &to = vertices[i];
        if (to.type == STBTT_vline && to.x == from.x && std::abs(to.y - from.y) >= length &&
            (!edge || to.x < *edge))
            edge = to.x;
    }
    return edge;
}

GlyphCoverage TrueType::Render(int glyph, int subpixels, const PlaceOutline& place) const {
    GlyphCoverage out;
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(info_.get(), glyph, &vertices);
    std::unique_ptr<stbtt_vertex, decltype(&std::free)> owned(vertices, &std::free);
    if (count <= 0) return out;

    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    auto move = [&](stbtt_vertex_type& x, stbtt_vertex_type& y) {
        const OutlinePoint p = place(x, y);
        x = static_cast<stbtt_vertex_type>(std::clamp(p.x, -32767, 32767));
        y = static_cast<stbtt_vertex_type>(std::clamp(p.y, -32767, 32767));
        x0 = std::min<int>(x0, x), x1 = std::max<int>(x1, x);
        y0 = std::min<int>(y0, y), y1 = std::max<int>(y1, y);
    };
    for (int i = 0; i < count; ++i) {
        stbtt_vertex& v = vertices[i];
        move(v.x, v.y);
        if (v.type == STBTT_vcurve || v.type == STBTT_vcubic) move(v.cx, v.cy);
        if (v.type == STBTT_vcubic) move(v.cx1, v.cy1);
    }
    // The pixels the outline touches; the rasteriser wants y down.
    out.left = FloorDiv(x0, subpixels);
    out.top = FloorDiv(-y1, subpixels);
    out.width = CeilDiv(x1, subpixels) - out.left;
    out.height = CeilDiv(-y0, subpixels) - out.top;
    if (out.width <= 0 || out.height <= 0) return GlyphCoverage{};
    out.alpha.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), 0);
    stbtt__bitmap bitmap{out.width, out.height, out.width, out.alpha.data()};
    const float scale = 1.0f / static_cast<float>(subpixels);
    stbtt_Rasterize(&bitmap, 0.35f, vertices, count, scale, scale, 0, 0, out.left, out.top, 1,
                    nullptr);
    return out;
}

}  // namespace platform
