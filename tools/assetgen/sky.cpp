// The sky behind everything: a calm gradient, soft clouds kept clear of the lines of text
// (score along the top, messages around y 210-300 in the middle) and a hazy line of hills.
#include <algorithm>
#include <cmath>
#include <vector>

#include "assets.h"
#include "bmp_writer.h"
#include "raster.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

Color sky_at(double y) {
    const Color zenith = rgb(46, 104, 196);
    const Color middle = rgb(104, 158, 224);
    const Color horizon = rgb(186, 212, 238);
    const double t = y / (kHeight - 1);
    if (t < 0.55) return mix(zenith, middle, smoothstep(0.0, 0.55, t) * 0.3 + 0.7 * t / 0.55);
    return mix(middle, horizon, smoothstep(0.55, 1.0, t));
}

struct Puff {
    Point c;
    double r;
};

struct Cloud {
    Point centre;
    double w, h;
    double opacity;
    std::uint32_t seed;
    std::vector<Puff> puffs;
    double base;  // flat underside
};

Cloud make_cloud(Point centre, double w, double h, double opacity, std::uint32_t seed) {
    Cloud cl{centre, w, h, opacity, seed, {}, centre.y + 0.32 * h};
    Rng rng(seed);
    const int n = 9 + static_cast<int>(w / 18);
    for (int i = 0; i < n; ++i) {
        const double s = rng.range(-0.9, 0.9);  // across the cloud
        const double dome = 1.0 - s * s;        // taller in the middle
        Puff p;
        p.r = h * (0.30 + 0.26 * dome) * rng.range(0.85, 1.15);
        p.c = {centre.x + s * (w * 0.5 - p.r * 0.6),
               cl.base - p.r * rng.range(0.35, 0.9) - 0.25 * h * dome};
        cl.puffs.push_back(p);
    }
    return cl;
}

// Each puff is painted as a soft, frayed ball lit from the upper left, back puffs (higher
// up) first, so the front ones overlap them with their bright upper rims: the cauliflower
// look of a fair-weather cumulus. The flat underside fades out softly.
void paint_cloud(std::vector<Color>& img, const Cloud& cl) {
    const int x0 = std::max(0, static_cast<int>(cl.centre.x - cl.w * 0.5 - cl.h));
    const int x1 = std::min(kWidth, static_cast<int>(cl.centre.x + cl.w * 0.5 + cl.h));
    const int y0 = std::max(0, static_cast<int>(cl.centre.y - cl.h * 1.4));
    const int y1 = std::min(kHeight, static_cast<int>(cl.base + 10));
    Layer layer(x1 - x0, y1 - y0);
    const Color lit = rgb(255, 255, 255);
    const Color shadow = rgb(182, 196, 222);
    std::vector<Puff> order = cl.puffs;
    std::sort(order.begin(), order.end(),
              [](const Puff& a, const Puff& b) { return a.c.y < b.c.y; });
    for (const Puff& puff : order) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const double dx = (x + 0.5 - puff.c.x) / puff.r;
                const double dy = (y + 0.5 - puff.c.y) / puff.r;
                const double q2 = dx * dx + dy * dy;
                if (q2 > 1.6) continue;
                const double fray = 0.22 * (fractal_noise(x / 7.0, y / 6.0, cl.seed, 3) - 0.5);
                const double q = std::sqrt(q2) + fray;
                const double a = 1.0 - smoothstep(0.78, 1.02, q);
                if (a <= 0) continue;
                const double nz = std::sqrt(std::max(0.0, 1.0 - std::min(1.0, q2)));
                // Mostly the cloud's own top-to-bottom shading; each puff adds only a hint of
                // roundness.
                const double dark_side = clamp01(0.5 - 0.5 * (-0.45 * dx - 0.7 * dy + 0.55 * nz));
                const double depth = clamp01((y + 0.5 - (cl.centre.y - cl.h * 0.5)) /
                                             (cl.base - cl.centre.y + cl.h * 0.5));
                const double shade = clamp01(0.38 * dark_side + 0.62 * depth * depth);
                layer.blend(x - x0, y - y0, mix(lit, shadow, shade), a);
            }
    }
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const double under = 1.0 - smoothstep(cl.base - 4.0, cl.base + 6.0, y + 0.5);
            const double a = layer.alpha(x - x0, y - y0) * under * cl.opacity;
            if (a <= 0) continue;
            Color& px = img[static_cast<std::size_t>(y) * kWidth + x];
            px = mix(px, layer.color(x - x0, y - y0), a);
        }
}

// A far ridge and a nearer one, both softened by haze.
void paint_hills(std::vector<Color>& img) {
    for (int x = 0; x < kWidth; ++x) {
        const double u = x / static_cast<double>(kWidth);
        const double far = 441.0 + 9.0 * sin_turns(1.3 * u + 0.1) + 5.0 * sin_turns(3.1 * u + 0.6) +
                           6.0 * (fractal_noise(x / 40.0, 3.0, 77u, 3) - 0.5);
        const double near = 459.0 + 7.0 * sin_turns(0.9 * u + 0.55) +
                            4.0 * sin_turns(2.3 * u + 0.2) +
                            4.0 * (fractal_noise(x / 30.0, 9.0, 78u, 3) - 0.5);
        for (int y = 400; y < kHeight; ++y) {
            Color& px = img[static_cast<std::size_t>(y) * kWidth + x];
            const double fy = y + 0.5;
            const double far_a = clamp01(fy - far + 0.5);
            px = mix(px, mix(rgb(124, 160, 186), rgb(140, 172, 192), clamp01((fy - far) / 30.0)),
                     far_a * 0.85);
            const double near_a = clamp01(fy - near + 0.5);
            px = mix(px, mix(rgb(92, 140, 128), rgb(80, 126, 112), clamp01((fy - near) / 20.0)),
                     near_a * 0.9);
        }
    }
}

}  // namespace

Bytes sky_picture() {
    std::vector<Color> img(static_cast<std::size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            img[static_cast<std::size_t>(y) * kWidth + x] = sky_at(y + 0.5);

    const Cloud clouds[] = {
        make_cloud({112, 98}, 196, 62, 0.95, 11u),  make_cloud({492, 86}, 172, 50, 0.92, 12u),
        make_cloud({318, 152}, 104, 24, 0.55, 13u), make_cloud({588, 252}, 88, 28, 0.8, 14u),
        make_cloud({58, 300}, 92, 28, 0.8, 15u),    make_cloud({196, 384}, 236, 70, 0.95, 16u),
        make_cloud({504, 346}, 178, 48, 0.9, 17u),
    };
    for (const Cloud& cl : clouds) paint_cloud(img, cl);
    paint_hills(img);

    std::vector<Rgb8> out(img.size());
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Color c = clamped(img[static_cast<std::size_t>(y) * kWidth + x]);
            const double th = bayer4(x, y);  // dithering keeps the long gradient free of bands
            auto q = [&](double v) {
                return static_cast<std::uint8_t>(std::min(255.0, std::floor(v * 255.0 + th)));
            };
            out[static_cast<std::size_t>(y) * kWidth + x] = {q(c.r), q(c.g), q(c.b)};
        }
    return bmp_24(kWidth, kHeight, out);
}

}  // namespace assetgen
