#include "raster.h"

#include <algorithm>

namespace assetgen {

Point rotate(Point p, double turns) {
    const double s = sin_turns(turns);
    const double c = cos_turns(turns);
    return {p.x * c - p.y * s, p.x * s + p.y * c};
}

Layer::Layer(int width, int height)
    : width_(width),
      height_(height),
      color_(static_cast<std::size_t>(width) * height),
      alpha_(static_cast<std::size_t>(width) * height, 0.0) {}

void Layer::blend(int x, int y, Color c, double a) {
    if (!contains(x, y) || a <= 0.0) return;
    a = std::min(a, 1.0);
    const std::size_t i = index(x, y);
    const double below = alpha_[i] * (1.0 - a);
    const double out = a + below;
    color_[i] = (c * a + color_[i] * below) * (1.0 / out);
    alpha_[i] = out;
}

bool inside_polygon(const std::vector<Point>& poly, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point& a = poly[i];
        const Point& b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

double distance_to_segment(Point p, Point a, Point b) {
    const Point ab = b - a;
    const Point ap = p - a;
    const double len2 = ab.x * ab.x + ab.y * ab.y;
    const double t = len2 > 0 ? clamp01((ap.x * ab.x + ap.y * ab.y) / len2) : 0.0;
    const Point d = ap - ab * t;
    return std::sqrt(d.x * d.x + d.y * d.y);
}

void disc(Layer& layer, Point centre, double radius, Color c, double opacity) {
    const int x0 = static_cast<int>(std::floor(centre.x - radius - 1));
    const int x1 = static_cast<int>(std::ceil(centre.x + radius + 1));
    const int y0 = static_cast<int>(std::floor(centre.y - radius - 1));
    const int y1 = static_cast<int>(std::ceil(centre.y + radius + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - centre.x;
            const double dy = y + 0.5 - centre.y;
            const double cover = clamp01(radius + 0.5 - std::sqrt(dx * dx + dy * dy));
            if (cover > 0) layer.blend(x, y, c, cover * opacity);
        }
}

void stroke(Layer& layer, const std::vector<Point>& path, double width, Color c, double opacity) {
    if (path.empty()) return;
    double x0 = path[0].x, x1 = path[0].x, y0 = path[0].y, y1 = path[0].y;
    for (const Point& p : path) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    const double half = width / 2;
    for (int y = static_cast<int>(std::floor(y0 - half - 1));
         y <= static_cast<int>(std::ceil(y1 + half + 1)); ++y)
        for (int x = static_cast<int>(std::floor(x0 - half - 1));
             x <= static_cast<int>(std::ceil(x1 + half + 1)); ++x) {
            const Point p{x + 0.5, y + 0.5};
            double d = distance_to_segment(p, path[0], path[0]);
            for (std::size_t i = 1; i < path.size(); ++i)
                d = std::min(d, distance_to_segment(p, path[i - 1], path[i]));
            const double cover = clamp01(half + 0.5 - d);
            if (cover > 0) layer.blend(x, y, c, cover * opacity);
        }
}

void pixel_trail(Layer& layer, const std::vector<Point>& path, Color c) {
    int last_x = 0, last_y = 0;
    bool have_last = false;
    auto plot = [&](int x, int y) {
        if (have_last && x == last_x && y == last_y) return;
        layer.blend(x, y, c, 1.0);
        last_x = x;
        last_y = y;
        have_last = true;
    };
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const Point a = path[i];
        const Point b = path[i + 1];
        const double len = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        const int steps = std::max(1, static_cast<int>(std::ceil(len * 2)));
        for (int s = 0; s <= steps; ++s) {
            const Point p = a + (b - a) * (s / static_cast<double>(steps));
            plot(static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y)));
        }
    }
}

}  // namespace assetgen
