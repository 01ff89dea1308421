// The program icon: a red balloon on its string, 32x32 in the 16-colour palette for the
// executable, and the same drawing at any size for the desktop.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "assets.h"
#include "balloon_art.h"
#include "bmp_writer.h"
#include "png_writer.h"
#include "sprite_sheet.h"

namespace assetgen {

namespace {

constexpr int kIconSize = 32;

// The balloon of the game's sheets, scaled so its 60-pixel cell fills the icon.
BalloonPose icon_pose(int size) {
    const double k = size / static_cast<double>(kIconSize);
    return balloon_pose(3, Point{-0.3, -0.9} * k, 0.54 * k);
}

Layer paint_icon(int size) {
    const double k = size / static_cast<double>(kIconSize);
    Layer art(size, size);
    const BalloonPose pose = icon_pose(size);
    const Color base = balloon_base(0);
    const Point knot_bottom = pose.knot + Point{0.0, 3.0 * 0.54 * k};
    if (size <= kIconSize) {
        paint_string(art, knot_bottom, size - 0.4, 0.0, 0.1);
    } else {
        std::vector<Point> path;
        for (int i = 0; i <= 32; ++i) {
            const double t = i / 32.0;
            path.push_back({knot_bottom.x + 1.4 * k * sin_turns(0.1 + 1.3 * t) * std::sqrt(t),
                            knot_bottom.y + (size - 0.8 * k - knot_bottom.y) * t});
        }
        stroke(art, path, 0.9 * k, rgb(96, 96, 108));
    }
    paint_knot(art, base, pose.knot + Point{0.0, -0.6 * k}, 0.0,
               0.8 * k);  // a bold knot reads at 32 pixels
    const double reach = pose.ry + 2 * k;
    fill_shape(
        art, pose.centre.x - reach, pose.centre.y - reach, pose.centre.x + reach,
        pose.centre.y + reach,
        [&](double x, double y) {
            return body_point(pose, {x, y}).r2 <= 1.0;
        },
        [&](double x, double y) {
            return balloon_shade(base, body_point(pose, {x, y}));
        });
    return art;
}

// Nearest of the allowed palette entries after an ordered-dither nudge, so the shading
// survives 16 colours. The body may only use the reds and white: a nearest-colour search
// over the whole palette would dot it with black and grey.
std::uint8_t to_palette(Color c, int x, int y, std::initializer_list<std::uint8_t> allowed) {
    const double nudge = (bayer4(x, y) - 0.5) * 0.3;
    const Color n = clamped(c + Color{nudge, nudge, nudge});
    std::uint8_t best = *allowed.begin();
    double best_d = 1e9;
    for (std::uint8_t i : allowed) {
        const Color p = rgb(kWindows16[i].r, kWindows16[i].g, kWindows16[i].b);
        const double d = (p.r - n.r) * (p.r - n.r) * 0.30 + (p.g - n.g) * (p.g - n.g) * 0.59 +
                         (p.b - n.b) * (p.b - n.b) * 0.11;
        if (d < best_d) {
            best_d = d;
            best = i;
        }
    }
    return best;
}

}  // namespace

Bytes icon_file() {
    const Layer art = paint_icon(kIconSize);
    const BalloonPose pose = icon_pose(kIconSize);
    std::vector<std::uint8_t> colours(kIconSize * kIconSize, 0);
    std::vector<std::uint8_t> transparent(kIconSize * kIconSize, 1);
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x)
            if (art.alpha(x, y) >= 0.5) {
                const bool body = body_point(pose, {x + 0.5, y + 0.5}).r2 <= 1.0;
                colours[y * kIconSize + x] =
                    body ? to_palette(art.color(x, y) * 1.3, x, y, {1, 9, 15})
                         : to_palette(art.color(x, y), x, y, {1, 8, 9});
                transparent[y * kIconSize + x] = 0;
            }
    const Bytes xor_bits = pack_indexed_rows(kIconSize, kIconSize, 4, colours);
    const Bytes and_bits = pack_indexed_rows(kIconSize, kIconSize, 1, transparent);

    ByteWriter image;
    image.u32(40);
    image.i32(kIconSize);
    image.i32(2 * kIconSize);  // colour and mask halves stacked
    image.u16(1);
    image.u16(4);
    image.u32(0);
    image.u32(static_cast<std::uint32_t>(xor_bits.size() + and_bits.size()));
    image.u32(0);
    image.u32(0);
    image.u32(0);
    image.u32(0);
    for (const Rgb8& c : kWindows16) {
        image.u8(c.b);
        image.u8(c.g);
        image.u8(c.r);
        image.u8(0);
    }
    image.append(xor_bits);
    image.append(and_bits);

    ByteWriter file;
    file.u16(0);  // reserved
    file.u16(1);  // icon
    file.u16(1);  // one image
    file.u8(kIconSize);
    file.u8(kIconSize);
    file.u8(16);  // colours
    file.u8(0);
    file.u16(1);  // planes
    file.u16(4);  // bits per pixel
    file.u32(static_cast<std::uint32_t>(image.size()));
    file.u32(6 + 16);
    file.append(image.take());
    return file.take();
}

Bytes icon_png(int size) {
    const Layer art = paint_icon(size);
    std::vector<Rgba8> px(static_cast<std::size_t>(size) * size);
    auto q = [](double v) {
        return static_cast<std::uint8_t>(std::floor(clamp01(v) * 255.0 + 0.5));
    };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Color c = clamped(art.color(x, y));
            px[static_cast<std::size_t>(y) * size + x] = {q(c.r), q(c.g), q(c.b),
                                                          q(art.alpha(x, y))};
        }
    return png_rgba(size, size, px);
}

}  // namespace assetgen
