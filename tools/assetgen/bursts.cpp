// The burst: seven stages from a torn balloon with a white flash to a few falling flecks.
// All kinds share one mask row, so every random choice here is made once and only the
// colour depends on the kind.
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "assets.h"
#include "balloon_art.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kCell = 100;
constexpr int kStages = 7;
constexpr double kRimGain = 0.6;
// The 60x60 balloon cell sits in the middle of the 100x100 burst cell.
const Point kBalloonOffset{20.0, 20.0};
// Faded pieces drift towards the colour of the sky they are lost in.
const Color kHaze = rgb(196, 214, 236);

struct Fragment {
    Point start;  // where on the balloon it tore off
    Point dir;    // unit vector of flight
    double speed = 1.0;
    double size = 5.0;
    double spin = 0.0;           // turns per stage
    double angle = 0.0;          // initial rotation, turns
    double shade = 1.0;          // how much light its face catches
    bool curl = false;           // a curled strip rather than a flat shard
    std::vector<Point> outline;  // unit-size polygon for shards
};

// How far the pieces have flown at each stage (index = stage), and how big they still are.
constexpr double kTravel[kStages + 1] = {0, 0, 8, 14.5, 19, 22.5, 25, 27};
constexpr double kSize[kStages + 1] = {0, 0, 1.0, 0.86, 0.7, 0.52, 0.34, 0.2};
constexpr double kFade[kStages + 1] = {0, 0, 0.0, 0.08, 0.2, 0.35, 0.5, 0.6};
constexpr int kFragments = 22;

std::vector<Fragment> make_fragments(const BalloonPose& pose) {
    Rng rng(0xB0A1100Full);
    std::vector<Fragment> out;
    for (int i = 0; i < kFragments; ++i) {
        Fragment f;
        // Directions spread round the circle, but unevenly, and pieces tear off anywhere on the
        // skin, so the cloud of debris is ragged rather than a neat ring.
        const double a = (i + rng.range(-0.45, 0.45)) / kFragments;
        f.dir = {cos_turns(a), sin_turns(a)};
        const double r = rng.range(0.2, 0.9);
        f.start = pose.centre + Point{f.dir.x * pose.rx * r, f.dir.y * pose.ry * r};
        f.speed = rng.range(0.45, 1.25);
        f.size = i % 5 == 0 ? rng.range(6.5, 8.0) : rng.range(3.2, 6.0);
        f.spin = rng.range(-0.09, 0.09);
        f.angle = rng.uniform();
        f.shade = rng.range(0.55, 1.05);
        f.curl = i % 3 == 1;
        const int corners = 4 + rng.below(3);
        for (int c = 0; c < corners; ++c) {
            const double ca = (c + rng.range(-0.25, 0.25)) / corners;
            const double cr = rng.range(0.5, 1.0);
            f.outline.push_back({cos_turns(ca) * cr, sin_turns(ca) * cr});
        }
        out.push_back(f);
    }
    return out;
}

Point fragment_position(const Fragment& f, int stage) {
    const double t = stage - 1;
    // Flung outwards, then slowly falling.
    return f.start + f.dir * (kTravel[stage] * f.speed) + Point{0.0, 0.45 * t * t};
}

void paint_fragment(Layer& layer, const Fragment& f, int stage, Color base) {
    const Point at = fragment_position(f, stage);
    const double size = f.size * kSize[stage];
    const double turn = f.angle + f.spin * (stage - 1);
    const Color face = mix(base * f.shade, kHaze, kFade[stage]);
    // Brighter towards the upper left of each piece.
    auto paint = [&](double x, double y) {
        const double lit = -((x - at.x) * 0.6 + (y - at.y) * 0.8) / std::max(size, 1.0);
        return clamped(face * (0.9 + 0.3 * lit));
    };
    if (f.curl) {
        std::vector<Point> arc;
        for (int k = 0; k <= 8; ++k) {
            const double a = turn + 0.38 * k / 8.0;
            arc.push_back(at + Point{cos_turns(a), sin_turns(a)} * (size * 0.8));
        }
        stroke(layer, arc, std::max(1.2, 2.4 * kSize[stage]), face);
        return;
    }
    std::vector<Point> poly;
    for (const Point& p : f.outline) poly.push_back(at + rotate(p * size, turn));
    fill_shape(
        layer, at.x - size - 1, at.y - size - 1, at.x + size + 1, at.y + size + 1,
        [&](double x, double y) { return inside_polygon(poly, x, y); }, paint);
}

// White streaks of escaping air around the first two stages.
void paint_rays(Layer& layer, Point centre, double from, double to, double width, double opacity) {
    for (int i = 0; i < 10; ++i) {
        const double a = (i + 0.5 * (i % 2)) / 10.0 + 0.03;
        const Point d{cos_turns(a), sin_turns(a)};
        const double stretch = i % 2 ? 0.8 : 1.0;
        stroke(layer, {centre + d * from, centre + d * (from + (to - from) * stretch)}, width,
               rgb(255, 250, 220), opacity);
    }
}

// Stage 1: the skin has split; a ragged, flashing remnant of the balloon.
void paint_torn_balloon(Layer& layer, Color base, BalloonPose pose) {
    pose.rx *= 1.08;
    pose.ry *= 1.08;
    auto edge = [&](const BodyPoint& b) {
        const double r = std::sqrt(b.r2);
        if (r < 1e-9) return 1.0;
        const double dx = b.u / r, dy = b.v / r;  // direction, sampled on a circle in noise space
        const double coarse = fractal_noise(dx * 1.8 + 7.0, dy * 1.8 + 7.0, 41u, 2);
        const double teeth = value_noise(dx * 7.0 + 20.0, dy * 7.0 + 20.0, 43u);
        return 0.70 + 0.36 * coarse + 0.22 * teeth * teeth;
    };
    const double reach = pose.ry * 1.3;
    fill_shape(
        layer, pose.centre.x - reach, pose.centre.y - reach, pose.centre.x + reach,
        pose.centre.y + reach,
        [&](double x, double y) {
            const BodyPoint b = body_point(pose, {x, y});
            return std::sqrt(b.r2) <= edge(b);
        },
        [&](double x, double y) {
            BodyPoint b = body_point(pose, {x, y});
            const double r = std::sqrt(b.r2);
            const double flash = 1.0 - smoothstep(0.12, 0.78, r);
            if (b.r2 > 1.0) {  // the torn tips reach past the old outline: treat them as the rim
                b.r2 = 1.0;
                b.nz = 0.0;
            }
            const Color skin = balloon_shade(base, b, 0.0);
            return mix(skin, rgb(255, 252, 232), flash);
        });
}

Layer paint_stage(int stage, int kind, const std::vector<Fragment>& fragments,
                  const BalloonPose& pose) {
    Layer art(kCell, kCell);
    const Color base = balloon_base(kind);
    // The knot and string drop away during the first stages.
    constexpr double kKnotDrop[kStages + 1] = {0, 0, 3, 8, 14, -1, -1, -1};
    if (kKnotDrop[stage] >= 0) {
        const Point knot = pose.knot + Point{0.0, kKnotDrop[stage]};
        const double tilt = 0.02 * (stage - 1);
        const Point knot_bottom = knot + rotate({0.0, 3.0}, tilt);
        paint_string(art, knot_bottom + Point{0.0, 0.5}, knot_bottom.y + 9.0, 0.0, 0.15 * stage);
        paint_knot(art, base, knot, tilt, 1.0);
    }
    if (stage == 1) {
        paint_rays(art, pose.centre, 26.0, 33.0, 1.6, 1.0);
        paint_torn_balloon(art, base, pose);
    } else if (stage < kStages) {
        if (stage == 2) paint_rays(art, pose.centre, 33.0, 39.0, 1.2, 0.9);
        // Later stages lose the smallest pieces first.
        const double min_size = stage >= 6 ? 5.0 : (stage == 5 ? 4.3 : 0.0);
        for (const Fragment& f : fragments)
            if (f.size >= min_size) paint_fragment(art, f, stage, base);
    } else {
        // The last stage: a handful of flecks still falling.
        for (std::size_t i = 0; i < fragments.size(); i += 4) {
            const Point p = fragment_position(fragments[i], stage);
            const Color c = mix(base * fragments[i].shade, kHaze, kFade[stage]);
            disc(art, {clamp(p.x, 2.0, kCell - 2.0), clamp(p.y, 2.0, kCell - 2.0)}, 0.75, c);
        }
    }
    return art;
}

}  // namespace

SpriteSheets burst_sheets() {
    const BalloonPose pose = balloon_pose(3, kBalloonOffset);
    const std::vector<Fragment> fragments = make_fragments(pose);
    Sheet16 colour(kStages, kBalloonKinds, kCell, kCell);
    MaskSheet mask(kStages, 1, kCell, kCell);
    for (int stage = 1; stage <= kStages; ++stage) {
        std::vector<bool> shape;
        for (int kind = 0; kind < kBalloonKinds; ++kind) {
            const Layer art = paint_stage(stage, kind, fragments, pose);
            if (kind == 0) {
                shape = opaque_shape(art);
                mask.put(stage, 0, shape);
            } else if (opaque_shape(art) != shape) {
                throw std::logic_error("burst kinds must share their outline");
            }
            colour.put(stage, kind, cut_sprite(art, shape, kRimGain));
        }
    }
    return {colour.bmp(), mask.bmp()};
}

}  // namespace assetgen
