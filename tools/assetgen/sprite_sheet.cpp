#include "sprite_sheet.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "bmp_writer.h"

namespace assetgen {

namespace {

constexpr int kFive = 31;
constexpr int kRimMaxFive = kFive / 3;  // 10 of 31: a third of full intensity
constexpr double kRimMax = kRimMaxFive / static_cast<double>(kFive);

int to_five_dithered(double v, double threshold) {
    return std::clamp(static_cast<int>(std::floor(clamp01(v) * kFive + threshold)), 0, kFive);
}

int to_five_floor(double v) {
    return std::clamp(static_cast<int>(std::floor(clamp01(v) * kFive)), 0, kRimMaxFive);
}

}  // namespace

double bayer4(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

std::vector<bool> opaque_shape(const Layer& art) {
    std::vector<bool> shape(static_cast<std::size_t>(art.width()) * art.height());
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            shape[static_cast<std::size_t>(y) * art.width() + x] = art.alpha(x, y) >= 0.5;
    return shape;
}

SpriteCell cut_sprite(const Layer& art, const std::vector<bool>& shape, double rim_gain) {
    const int w = art.width();
    const int h = art.height();
    SpriteCell cell;
    cell.width = w;
    cell.height = h;
    cell.kind.assign(static_cast<std::size_t>(w) * h, Texel::Clear);
    cell.colour.assign(static_cast<std::size_t>(w) * h, Color{});
    auto in_shape = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && shape[static_cast<std::size_t>(y) * w + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (in_shape(x, y)) {
                cell.kind[i] = Texel::Opaque;
                cell.colour[i] = clamped(art.color(x, y));
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx) touches = in_shape(x + dx, y + dy);
            const double a = art.alpha(x, y);
            if (!touches || a <= 0.0) continue;
            const Color c = clamped(art.color(x, y)) * (a * rim_gain);
            cell.kind[i] = Texel::Rim;
            cell.colour[i] = {std::min(c.r, kRimMax), std::min(c.g, kRimMax),
                              std::min(c.b, kRimMax)};
        }
    return cell;
}

Sheet16::Sheet16(int columns, int rows, int cell_w, int cell_h)
    : cell_w_(cell_w),
      cell_h_(cell_h),
      width_(columns * (cell_w + 1) + 1),
      height_(rows * (cell_h + 1) + 1),
      pixels_(static_cast<std::size_t>(width_) * height_, 0) {}

void Sheet16::put(int column, int row, const SpriteCell& cell) {
    if (cell.width != cell_w_ || cell.height != cell_h_)
        throw std::invalid_argument("cell size mismatch");
    const int left = cell_left(column, cell_w_);
    const int top = cell_top(row, cell_h_);
    if (left + cell_w_ > width_ || top + cell_h_ > height_)
        throw std::out_of_range("cell outside the sheet");
    for (int y = 0; y < cell_h_; ++y)
        for (int x = 0; x < cell_w_; ++x) {
            const Texel t = cell.at(x, y);
            const Color& c = cell.colour[static_cast<std::size_t>(y) * cell_w_ + x];
            int r = 0, g = 0, b = 0;
            if (t == Texel::Opaque) {
                const double th = bayer4(x, y);
                r = to_five_dithered(c.r, th);
                g = to_five_dithered(c.g, th);
                b = to_five_dithered(c.b, th);
            } else if (t == Texel::Rim) {
                r = to_five_floor(c.r);
                g = to_five_floor(c.g);
                b = to_five_floor(c.b);
            }
            pixels_[static_cast<std::size_t>(top + y) * width_ + left + x] =
                static_cast<std::uint16_t>(r << 10 | g << 5 | b);
        }
}

Bytes Sheet16::bmp() const {
    return bmp_16(width_, height_, pixels_);
}

MaskSheet::MaskSheet(int columns, int rows, int cell_w, int cell_h)
    : cell_w_(cell_w),
      cell_h_(cell_h),
      width_(columns * (cell_w + 1) + 1),
      height_(rows * (cell_h + 1) + 1),
      indices_(static_cast<std::size_t>(width_) * height_, 1) {}

void MaskSheet::put(int column, int row, const std::vector<bool>& shape) {
    if (shape.size() != static_cast<std::size_t>(cell_w_) * cell_h_)
        throw std::invalid_argument("mask size mismatch");
    const int left = cell_left(column, cell_w_);
    const int top = cell_top(row, cell_h_);
    if (left + cell_w_ > width_ || top + cell_h_ > height_)
        throw std::out_of_range("mask outside the sheet");
    for (int y = 0; y < cell_h_; ++y)
        for (int x = 0; x < cell_w_; ++x)
            indices_[static_cast<std::size_t>(top + y) * width_ + left + x] =
                shape[static_cast<std::size_t>(y) * cell_w_ + x] ? 0 : 1;
}

Bytes MaskSheet::bmp() const {
    return bmp_indexed(width_, height_, 1, {Rgb8{0, 0, 0}, Rgb8{255, 255, 255}}, indices_);
}

}  // namespace assetgen
