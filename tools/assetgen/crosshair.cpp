// The crosshair: an idle and a firing picture with their masks beneath them, pixel art in
// the 16-colour palette. The pointer sits on pixel (11, 11) of the 22x22 cell.
#include <cmath>
#include <cstdint>
#include <vector>

#include "assets.h"
#include "bmp_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kCell = 22;
constexpr int kHot = 11;
constexpr int kSheet = 2 * (kCell + 1) + 1;  // 47

constexpr std::uint8_t kBlack = 0, kDarkRed = 1, kRed = 9, kYellow = 11,
                       kWhite = 15;  // palette entries
constexpr std::uint8_t kNone = 0xFF;

using Cell = std::vector<std::uint8_t>;  // palette index per pixel, kNone where transparent

Cell blank() {
    return Cell(kCell * kCell, kNone);
}

void set(Cell& c, int x, int y, std::uint8_t v) {
    if (x >= 0 && y >= 0 && x < kCell && y < kCell) c[y * kCell + x] = v;
}

void ring(Cell& c, double radius, std::uint8_t v) {
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            const double d =
                std::sqrt(static_cast<double>((x - kHot) * (x - kHot) + (y - kHot) * (y - kHot)));
            if (std::abs(d - radius) <= 0.5) set(c, x, y, v);
        }
}

void ticks(Cell& c, int from, int to, std::uint8_t v) {
    for (int d = from; d <= to; ++d) {
        set(c, kHot + d, kHot, v);
        set(c, kHot - d, kHot, v);
        set(c, kHot, kHot + d, v);
        set(c, kHot, kHot - d, v);
    }
}

// A dark shadow one pixel down and right of the lines: it lifts the sight off white clouds
// without the weight of a full outline.
void shadow(Cell& c, std::uint8_t v) {
    const Cell lines = c;
    for (int y = 1; y < kCell; ++y)
        for (int x = 1; x < kCell; ++x)
            if (lines[y * kCell + x] == kNone && lines[(y - 1) * kCell + x - 1] != kNone)
                set(c, x, y, v);
}

Cell idle() {
    Cell c = blank();
    ring(c, 8.0, kRed);
    ticks(c, 3, 10, kRed);
    set(c, kHot, kHot, kYellow);
    shadow(c, kDarkRed);
    return c;
}

// The firing sight flashes: a doubled yellow and red ring, heavier ticks and a white core.
Cell firing() {
    Cell c = blank();
    ring(c, 8.0, kYellow);
    ring(c, 7.0, kRed);
    ticks(c, 2, 10, kYellow);
    for (int d = 8; d <= 10; ++d)
        for (int side = -1; side <= 1; side += 2) {
            set(c, kHot + d, kHot + side, kRed);
            set(c, kHot - d, kHot + side, kRed);
            set(c, kHot + side, kHot + d, kRed);
            set(c, kHot + side, kHot - d, kRed);
        }
    for (int d = 3; d <= 4; ++d) {  // diagonal sparks of the muzzle flash
        set(c, kHot + d, kHot + d, kWhite);
        set(c, kHot - d, kHot + d, kWhite);
        set(c, kHot + d, kHot - d, kWhite);
        set(c, kHot - d, kHot - d, kWhite);
    }
    ticks(c, 1, 1, kWhite);
    set(c, kHot, kHot, kWhite);
    shadow(c, kDarkRed);
    return c;
}

}  // namespace

Bytes crosshair_sheet() {
    // Gutters: black beside the pictures, white beside the masks; neither is ever drawn.
    std::vector<std::uint8_t> sheet(kSheet * kSheet, kBlack);
    for (int y = cell_top(1, kCell); y < kSheet; ++y)
        for (int x = 0; x < kSheet; ++x) sheet[y * kSheet + x] = kWhite;
    const Cell pictures[2] = {idle(), firing()};
    for (int column = 1; column <= 2; ++column) {
        const Cell& pic = pictures[column - 1];
        const int left = cell_left(column, kCell);
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const std::uint8_t v = pic[y * kCell + x];
                sheet[(cell_top(0, kCell) + y) * kSheet + left + x] = v == kNone ? kBlack : v;
                sheet[(cell_top(1, kCell) + y) * kSheet + left + x] = v == kNone ? kWhite : kBlack;
            }
    }
    return bmp_indexed(kSheet, kSheet, 4, std::vector<Rgb8>(kWindows16.begin(), kWindows16.end()),
                       sheet);
}

}  // namespace assetgen
