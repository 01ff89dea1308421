// A TrueType face read straight from its bytes, and single glyphs turned into coverage.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

struct stbtt_fontinfo;

namespace platform {

// Alpha coverage of one glyph; left and top are pixels from the pen on the baseline (y down).
struct GlyphCoverage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;  // width * height, row by row
};

// Where a point of the outline, in font units (y up), lands: in 1/`subpixels` of a pixel, y up.
struct OutlinePoint {
    int x;
    int y;
};
using PlaceOutline = std::function<OutlinePoint(int x, int y)>;

class TrueType {
public:
    // The bytes must outlive the face. Ok() tells whether they hold a face at all.
    explicit TrueType(std::span<const uint8_t> bytes);
    ~TrueType();
    TrueType(const TrueType&) = delete;
    TrueType& operator=(const TrueType&) = delete;

    bool Ok() const { return ok_; }
    // Everything below is in font units.
    int UnitsPerEm() const { return unitsPerEm_; }
    int Ascender() const { return ascender_; }
    int Descender() const { return descender_; }  // below the baseline: negative
    int Glyph(uint32_t codepoint) const;          // 0, the missing glyph, when the face lacks it
    int Advance(int glyph) const;
    int Kerning(int left, int right) const;
    // Lowest and highest y of a character's outline; {0, 0} for an empty one.
    std::pair<int, int> Heights(uint32_t codepoint) const;
    // x of the leftmost straight vertical edge at least `length` long: the left side of the first
    // stem; nullopt when the glyph has none.
    std::optional<int> StemEdge(int glyph, int length) const;

    // Renders a glyph with its outline's points moved by `place`; the coverage is exact area
    // coverage of the moved outline, which must stay within +-32767 subpixels.
    GlyphCoverage Render(int glyph, int subpixels, const PlaceOutline& place) const;

private:
    std::unique_ptr<stbtt_fontinfo> info_;
    bool ok_ = false;
    int unitsPerEm_ = 0, ascender_ = 0, descender_ = 0;
};

}  // namespace platform
