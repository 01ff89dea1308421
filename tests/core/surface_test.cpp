// Block transfers: the three raster operations pixel for pixel, and clipping on every edge of
// both the source and the destination.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "platform/constants.h"
#include "platform/masked_sheet.h"

namespace platform {
namespace {

// A recognisable value for every pixel, so a misplaced copy shows.
Surface Patterned(int width, int height, uint32_t salt) {
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.SetPixel(x, y,
                       (static_cast<uint32_t>(x) * 0x010203u ^ y * 0x030201u ^ salt) & 0xFFFFFF);
    return s;
}

// Reference: what BitBlt must do, pixel by pixel, with the clipping rule spelled out in 64 bits;
// changed only when something was combined, as a window presents its surface only then.
Surface Expected(const Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, const Surface& src,
                 int64_t sx, int64_t sy, uint32_t rop) {
    Surface out = dst;
    for (int dy = 0; dy < dst.Height(); ++dy)
        for (int dx = 0; dx < dst.Width(); ++dx) {
            const int64_t px = sx + dx - x, py = sy + dy - y;
            if (dx < x || dy < y || dx - x >= w || dy - y >= h) continue;
            if (px < 0 || py < 0 || px >= src.Width() || py >= src.Height()) continue;
            const uint32_t d = dst.Pixel(dx, dy), s = src.Pixel(px, py);
            out.SetPixel(dx, dy, rop == SRCCOPY ? s : rop == SRCAND ? (d & s) : (d | s));
            out.changed = true;
        }
    return out;
}

void ExpectSame(const Surface& actual, const Surface& expected) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << "pixel " << x << "," << y;
    ASSERT_EQ(actual.changed, expected.changed);
}

TEST(BitBlt, MatchesTheReferenceClippedOnEveryEdge) {
    // x, y, width, height, source x, source y: a block 71 wide (every vector width and a
    // remainder); the destination over its left and top, then right and bottom edges; the same
    // for the source; both at once in opposite directions; whole rows, uncut and cut short; no
    // overlap at all; empty sizes; coordinates at the ends of their range, which must not wrap.
    constexpr int kMax = INT32_MAX, kMin = INT32_MIN;
    const int cases[][6] = {
        {3, 5, 71, 37, 11, 7},       {-5, -4, 10, 6, 1, 1},      {90, 48, 10, 6, 1, 1},
        {4, 4, 10, 6, -6, -3},       {4, 4, 10, 6, 90, 57},      {-4, 3, 12, 5, 92, 1},
        {2, 50, 6, 9, 3, -2},        {-3, -3, 200, 200, -3, -3}, {0, 3, 200, 200, 0, 0},
        {-100, 0, 10, 10, 0, 0},     {0, 0, 10, 10, 0, -10},     {2, 2, 0, 5, 0, 0},
        {2, 2, 5, -5, 0, 0},         {kMax - 2, 0, 10, 4, 0, 0}, {kMin, kMin, kMax, kMax, 0, 0},
        {0, 0, kMax, kMax, kMax, 0}, {0, 0, 4, 4, kMin, kMin},   {-1, -1, kMax, kMax, 0, 0}};
    for (Surface src : {Patterned(97, 61, 0xA35C0F), Surface()})
        for (const auto& c : cases)
            for (uint32_t rop : {SRCCOPY, SRCAND, SRCPAINT}) {
                SCOPED_TRACE(::testing::PrintToString(c) + " rop " + std::to_string(rop));
                Surface dst = Patterned(97, 53, 0x5A5A5A);
                const Surface expected =
                    Expected(dst, c[0], c[1], c[2], c[3], src, c[4], c[5], rop);
                BitBlt(&dst, c[0], c[1], c[2], c[3], &src, c[4], c[5], rop);
                ExpectSame(dst, expected);
            }
}

// The masked sheet draws exactly what the mask-then-sprite transfers draw, for any pictures:
// masks of white, black and anything between over sprites mostly black, cells inside their
// sheets or over any edge, places over every edge of the frame, one picture as both mask and
// sprite, and pictures changed between draws.
TEST(MaskedBlt, EqualsMaskThenSprite) {
    std::mt19937 random(20240);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto picture = [&](int w, int h, uint32_t usual) {
        Surface s(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                s.SetPixel(x, y,
                           pick(3)   ? usual
                           : pick(2) ? usual ^ 0xFFFFFF
                                     : random() & 0xFFFFFF);
        return s;
    };
    Surface mask = picture(37, 23, 0xFFFFFF), sprite = picture(41, 29, 0);
    Surface frame = Patterned(50, 40, 0x5A5A5A);
    for (int i = 0; i < 4000; ++i) {
        if (pick(40) == 0) mask.SetPixel(pick(37), pick(23), random() & 0xFFFFFF);
        if (pick(40) == 0) sprite.SetPixel(pick(41), pick(29), random() & 0xFFFFFF);
        Surface* from = pick(6) ? &sprite : &mask;
        const int w = pick(30), h = pick(25), x = pick(70) - 15, y = pick(60) - 15;
        // Mostly cells inside their pictures; else anywhere, the sprite cell near the mask's.
        int mx = pick(std::max(1, 38 - w)), my = pick(std::max(1, 24 - h));
        int sx = pick(std::max(1, from->Width() + 1 - w)),
            sy = pick(std::max(1, from->Height() + 1 - h));
        if (pick(3) == 0)
            mx = pick(60) - 15, my = pick(40) - 10, sx = mx + pick(5), sy = my + pick(5);
        SCOPED_TRACE(::testing::Message() << "case " << i);
        Surface expected = frame;
        BitBlt(&expected, x, y, w, h, &mask, mx, my, SRCAND);
        BitBlt(&expected, x, y, w, h, from, sx, sy, SRCPAINT);
        MaskedBlt(&frame, x, y, w, h, &mask, mx, my, from, sx, sy);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(frame, expected));
        frame.changed = false;
    }
}

}  // namespace
}  // namespace platform
