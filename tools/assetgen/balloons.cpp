// The flying balloons: four colours in five swaying poses, one shared mask row.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "assets.h"
#include "balloon_art.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kCell = 60;
// How much of the antialiased fringe survives as rim: enough to soften the edge on the sky.
constexpr double kRimGain = 0.6;
const Color kString = rgb(96, 96, 108);

double pow_int(double x, int n) {
    double r = 1.0;
    for (int i = 0; i < n; ++i) r *= x;
    return r;
}

}  // namespace

Color balloon_base(int kind) {
    switch (kind) {
        case 0:
            return rgb(226, 28, 36);  // red
        case 1:
            return rgb(36, 96, 232);  // blue
        case 2:
            return rgb(255, 142, 18);  // orange
        case 3:
            return rgb(214, 38, 196);  // magenta
        default:
            throw std::out_of_range("balloon kind");
    }
}

BalloonPose balloon_pose(int column, Point offset, double scale) {
    if (column < 1 || column > kBalloonPoses) throw std::out_of_range("balloon pose");
    const double k = column - 3;  // -2 .. 2: leaning left to leaning right
    BalloonPose pose;
    pose.tilt = k * 0.011;
    pose.sway = k / 2.0;
    pose.knot = Point{30.0 + 0.5 * k, 48.8};
    pose.centre = pose.knot + rotate({0.0, -23.5}, pose.tilt);
    pose.rx *= scale;
    pose.ry *= scale;
    pose.knot = pose.knot * scale + offset;
    pose.centre = pose.centre * scale + offset;
    return pose;
}

BodyPoint body_point(const BalloonPose& pose, Point p) {
    const Point local = rotate(p - pose.centre, -pose.tilt);
    BodyPoint b;
    b.v = local.y / pose.ry;
    const double lower = clamp01(b.v);
    const double width = 1.0 - 0.16 * lower * lower;  // the egg narrows towards the knot
    b.u = local.x / (pose.rx * width);
    b.r2 = b.u * b.u + b.v * b.v;
    const Point n = rotate({b.u, b.v}, pose.tilt);
    b.nx = n.x;
    b.ny = n.y;
    b.nz = std::sqrt(std::max(0.0, 1.0 - std::min(1.0, b.r2)));
    return b;
}

Color balloon_shade(Color base, const BodyPoint& b, double gloss) {
    // Light from the upper left and a little in front.
    const double lx = -0.48, ly = -0.60, lz = 0.64;
    const double diffuse = std::max(0.0, b.nx * lx + b.ny * ly + b.nz * lz);
    Color c = base * (0.30 + 0.80 * diffuse);
    // Rubber is translucent: the far lower-right side glows a little with light let through.
    const double glow = smoothstep(0.45, 1.0, b.r2) * clamp01(0.6 * b.nx + 0.8 * b.ny);
    c = c + base * (0.30 * glow);
    // A darker band just inside the outline keeps the silhouette crisp on a pale sky.
    c = c * (1.0 - 0.28 * smoothstep(0.80, 1.0, b.r2));
    // Broad sheen (Blinn-Phong, half vector between the light and the viewer).
    const double hx = lx, hy = ly, hz = lz + 1.0;
    const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double nh = std::max(0.0, (b.nx * hx + b.ny * hy + b.nz * hz) / hl);
    c = c + Color{1, 1, 1} * (0.55 * pow_int(nh, 24));
    if (gloss > 0) {
        // The crisp window-shaped highlight, an ellipse leaning with the body's upper-left.
        const Point h = rotate({b.nx + 0.40, b.ny + 0.50}, 0.125);
        const double e = (h.x / 0.13) * (h.x / 0.13) + (h.y / 0.24) * (h.y / 0.24);
        c = mix(c, Color{1, 1, 1}, gloss * 0.92 * (1.0 - smoothstep(0.55, 1.0, e)));
    }
    return clamped(c);
}

void paint_knot(Layer& layer, Color base, Point knot, double tilt, double scale) {
    std::vector<Point> tri = {{-2.7, 3.0}, {2.7, 3.0}, {0.0, -2.0}};
    for (Point& p : tri) p = knot + rotate(p * scale, tilt);
    fill_shape(
        layer, knot.x - 5 * scale, knot.y - 4 * scale, knot.x + 5 * scale, knot.y + 5 * scale,
        [&](double x, double y) { return inside_polygon(tri, x, y); },
        [&](double, double y) {
            return base * (0.75 - 0.25 * clamp01((y - knot.y) / (3 * scale)));
        });
}

void paint_string(Layer& layer, Point top, double bottom_y, double sway, double phase) {
    std::vector<Point> path;
    const double len = bottom_y - top.y;
    for (int i = 0; i <= 24; ++i) {
        const double t = i / 24.0;
        const double curl = 1.3 * sin_turns(phase + 0.95 * t) * std::sqrt(t);
        path.push_back({top.x + curl - 1.6 * sway * t * t, top.y + len * t});
    }
    pixel_trail(layer, path, kString);
}

void paint_balloon(Layer& layer, int kind, const BalloonPose& pose) {
    const Color base = balloon_base(kind);
    const Point knot_bottom = pose.knot + rotate({0.0, 3.0}, pose.tilt);
    paint_string(layer, knot_bottom + Point{0.0, 0.5}, 59.6, pose.sway, 0.1 * pose.sway);
    paint_knot(layer, base, pose.knot, pose.tilt, 1.0);
    const double reach = pose.ry + 2;
    fill_shape(
        layer, pose.centre.x - reach, pose.centre.y - reach, pose.centre.x + reach,
        pose.centre.y + reach,
        [&](double x, double y) {
            return body_point(pose, {x, y}).r2 <= 1.0;
        },
        [&](double x, double y) {
            return balloon_shade(base, body_point(pose, {x, y}));
        });
}

SpriteSheets balloon_sheets() {
    Sheet16 colour(kBalloonPoses, kBalloonKinds, kCell, kCell);
    MaskSheet mask(kBalloonPoses, 1, kCell, kCell);
    for (int column = 1; column <= kBalloonPoses; ++column) {
        const BalloonPose pose = balloon_pose(column);
        std::vector<bool> shape;
        for (int kind = 0; kind < kBalloonKinds; ++kind) {
            Layer art(kCell, kCell);
            paint_balloon(art, kind, pose);
            // Every kind has the same outline; the first one defines the shared mask.
            if (kind == 0) {
                shape = opaque_shape(art);
                mask.put(column, 0, shape);
            } else if (opaque_shape(art) != shape) {
                throw std::logic_error("balloon kinds must share their outline");
            }
            colour.put(column, kind, cut_sprite(art, shape, kRimGain));
        }
    }
    return {colour.bmp(), mask.bmp()};
}

}  // namespace assetgen
