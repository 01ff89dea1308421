#pragma once
// Turning painted cells into the sheets the masked blitter uses: a colour sheet and a
// 1-bit mask sheet on a grid of cells with one-pixel gutters.
#include <cstdint>
#include <vector>

#include "bytes.h"
#include "raster.h"

namespace assetgen {

// Top-left pixel of the cell in `column` (from 1) and `row` (from 0).
inline int cell_left(int column, int cell_w) {
    return (cell_w + 1) * (column - 1) + 1;
}
inline int cell_top(int row, int cell_h) {
    return (cell_h + 1) * row + 1;
}

enum class Texel : std::uint8_t { Clear, Rim, Opaque };

// What one sprite cell contributes: the blitter first blackens the opaque shape, then ORs
// the colours in. Outside the shape only a faint rim may carry colour, or it would show
// as a light smear over the sky.
struct SpriteCell {
    int width = 0, height = 0;
    std::vector<Texel> kind;
    std::vector<Color> colour;
    Texel at(int x, int y) const { return kind[static_cast<std::size_t>(y) * width + x]; }
};

// Opaque wherever the painting covers at least half the pixel.
std::vector<bool> opaque_shape(const Layer& art);

// Colours from `art` inside `shape`; just outside it the antialiased fringe of the painting,
// scaled by `rim_gain` and capped at a third of full intensity, becomes the rim.
SpriteCell cut_sprite(const Layer& art, const std::vector<bool>& shape, double rim_gain);

// A 5-5-5 colour sheet. Opaque texels are dithered to hide banding in the shading;
// rim texels round down so they never pass the third-intensity cap.
class Sheet16 {
public:
    Sheet16(int columns, int rows, int cell_w, int cell_h);
    void put(int column, int row, const SpriteCell& cell);
    Bytes bmp() const;

private:
    int cell_w_, cell_h_, width_, height_;
    std::vector<std::uint16_t> pixels_;
};

// A 1-bit mask sheet: palette entry 0 black marks sprite pixels, entry 1 white lets the
// background through. Gutters are white.
class MaskSheet {
public:
    MaskSheet(int columns, int rows, int cell_w, int cell_h);
    void put(int column, int row, const std::vector<bool>& shape);
    Bytes bmp() const;

private:
    int cell_w_, cell_h_, width_, height_;
    std::vector<std::uint8_t> indices_;
};

// 4x4 ordered-dither threshold in (0, 1) for pixel (x, y).
double bayer4(int x, int y);

}  // namespace assetgen
