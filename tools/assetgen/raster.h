#pragma once
// A floating-point RGBA canvas with antialiased shapes; every picture is painted here first
// and only then turned into the bit depths the game loads.
#include <cmath>
#include <vector>

#include "mathx.h"

namespace assetgen {

struct Color {
    double r = 0, g = 0, b = 0;
};

inline Color operator+(Color a, Color b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Color operator*(Color a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}
inline Color operator*(Color a, Color b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Color mix(Color a, Color b, double t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}
inline Color rgb(int r, int g, int b) {
    return {r / 255.0, g / 255.0, b / 255.0};
}
inline Color clamped(Color c) {
    return {clamp01(c.r), clamp01(c.g), clamp01(c.b)};
}
inline double luminance(Color c) {
    return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
}

struct Point {
    double x = 0, y = 0;
};

inline Point operator+(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b) {
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double k) {
    return {a.x * k, a.y * k};
}
// Rotation by `turns` of a full circle, clockwise on screen (y points down).
Point rotate(Point p, double turns);

class Layer {
public:
    Layer(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const Color& color(int x, int y) const { return color_[index(x, y)]; }
    double alpha(int x, int y) const { return alpha_[index(x, y)]; }
    // Paints `c` with opacity `a` over what is there (straight, not premultiplied, alpha).
    void blend(int x, int y, Color c, double a);

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<Color> color_;
    std::vector<double> alpha_;
};

// Covers the pixels of the box [x0,x1) x [y0,y1) that `inside(x, y)` claims, each pixel
// sampled n x n times for smooth edges; `paint(x, y)` colours the pixel at its centre.
template <class Inside, class Paint>
void fill_shape(Layer& layer, double x0, double y0, double x1, double y1, Inside inside,
                Paint paint, double opacity = 1.0, int n = 4) {
    const int ix0 = static_cast<int>(std::floor(x0));
    const int iy0 = static_cast<int>(std::floor(y0));
    const int ix1 = static_cast<int>(std::ceil(x1));
    const int iy1 = static_cast<int>(std::ceil(y1));
    for (int y = iy0; y < iy1; ++y) {
        for (int x = ix0; x < ix1; ++x) {
            if (!layer.contains(x, y)) continue;
            int hits = 0;
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx)
                    if (inside(x + (sx + 0.5) / n, y + (sy + 0.5) / n)) ++hits;
            if (hits == 0) continue;
            layer.blend(x, y, paint(x + 0.5, y + 0.5), opacity * hits / static_cast<double>(n * n));
        }
    }
}

bool inside_polygon(const std::vector<Point>& poly, double x, double y);
double distance_to_segment(Point p, Point a, Point b);

// Solid disc with an analytic soft edge one pixel wide.
void disc(Layer& layer, Point centre, double radius, Color c, double opacity = 1.0);
// A round-capped stroke along a polyline.
void stroke(Layer& layer, const std::vector<Point>& path, double width, Color c,
            double opacity = 1.0);
// A crisp one-pixel, 8-connected trail through the points: thin details (strings) that
// must survive as solid pixels rather than dissolve into faint antialiasing.
void pixel_trail(Layer& layer, const std::vector<Point>& path, Color c);

}  // namespace assetgen
