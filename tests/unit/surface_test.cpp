// Block transfers: the three raster operations pixel for pixel, and clipping on every edge of
// both the source and the destination.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "platform/masked_sheet.h"

namespace platform {
namespace {

constexpr uint32_t kRops[] = {SRCCOPY, SRCAND, SRCPAINT};

// A recognisable value for every pixel, so a misplaced copy shows.
Surface Patterned(int width, int height, uint32_t salt) {
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.SetPixel(x, y,
                       (static_cast<uint32_t>(x) * 0x010203u ^ y * 0x030201u ^ salt) & 0xFFFFFF);
    return s;
}

// Reference: what BitBlt must do, pixel by pixel, with the clipping rule spelled out.
Surface Expected(const Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                 uint32_t rop) {
    Surface out = dst;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            const int dx = x + c, dy = y + r, px = sx + c, py = sy + r;
            if (dx < 0 || dy < 0 || dx >= dst.Width() || dy >= dst.Height()) continue;
            if (px < 0 || py < 0 || px >= src.Width() || py >= src.Height()) continue;
            const uint32_t d = dst.Pixel(dx, dy), s = src.Pixel(px, py);
            out.SetPixel(dx, dy, rop == SRCCOPY ? s : rop == SRCAND ? (d & s) : (d | s));
        }
    return out;
}

void ExpectSame(const Surface& actual, const Surface& expected) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << "pixel " << x << "," << y;
}

TEST(BitBlt, MatchesTheReferenceClippedOnEveryEdge) {
    // x, y, width, height, source x, source y: a block 71 wide (every vector width and a
    // remainder); the destination over its left and top, then right and bottom edges; the same
    // for the source; both at once in opposite directions; whole rows, uncut and cut short; no
    // overlap at all; empty sizes.
    const int cases[][6] = {
        {3, 5, 71, 37, 11, 7},   {-5, -4, 10, 6, 1, 1},      {90, 48, 10, 6, 1, 1},
        {4, 4, 10, 6, -6, -3},   {4, 4, 10, 6, 90, 57},      {-4, 3, 12, 5, 92, 1},
        {2, 50, 6, 9, 3, -2},    {-3, -3, 200, 200, -3, -3}, {0, 3, 200, 200, 0, 0},
        {-100, 0, 10, 10, 0, 0}, {0, 0, 10, 10, 0, -10},     {2, 2, 0, 5, 0, 0},
        {2, 2, 5, -5, 0, 0}};
    Surface src = Patterned(97, 61, 0xA35C0F);
    for (const auto& c : cases) {
        for (uint32_t rop : kRops) {
            SCOPED_TRACE(::testing::PrintToString(c) + " rop " + std::to_string(rop));
            Surface dst = Patterned(97, 53, 0x5A5A5A);
            const Surface expected = Expected(dst, c[0], c[1], c[2], c[3], src, c[4], c[5], rop);
            BitBlt(&dst, c[0], c[1], c[2], c[3], &src, c[4], c[5], rop);
            ExpectSame(dst, expected);
        }
    }
}

TEST(BitBlt, ExtremeCoordinatesDoNotWrap) {
    Surface src = Patterned(8, 8, 0xA35C0F);
    Surface dst = Patterned(8, 8, 0x5A5A5A);
    const Surface before = dst;
    BitBlt(&dst, INT32_MAX - 2, 0, 10, 4, &src, 0, 0, SRCCOPY);
    BitBlt(&dst, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, &src, 0, 0, SRCCOPY);
    BitBlt(&dst, 0, 0, INT32_MAX, INT32_MAX, &src, INT32_MAX, 0, SRCCOPY);
    BitBlt(&dst, 0, 0, 4, 4, &src, INT32_MIN, INT32_MIN, SRCCOPY);
    ExpectSame(dst, before);
    BitBlt(&dst, -1, -1, INT32_MAX, INT32_MAX, &src, 0, 0, SRCCOPY);
    ExpectSame(dst, Expected(before, -1, -1, 100, 100, src, 0, 0, SRCCOPY));
}

TEST(BitBlt, ChangedOnlyWhenSomethingWasCombined) {
    // A window presents its surface only when this flag is set.
    Surface src(4, 4, 0xFFFFFF), dst(4, 4, 0x123456), empty;
    BitBlt(&dst, 10, 10, 4, 4, &src, 0, 0, SRCCOPY);  // destination entirely outside
    BitBlt(&dst, 0, 0, 4, 4, &src, 8, 0, SRCCOPY);    // source entirely outside
    BitBlt(&dst, 0, 0, 4, 4, &empty, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Pixel(1, 1), 0x123456u);
    EXPECT_FALSE(dst.changed);
    BitBlt(&empty, 0, 0, 4, 4, &dst, 0, 0, SRCPAINT);
    EXPECT_FALSE(empty.changed);
    BitBlt(&dst, 2, 2, 4, 4, &src, 0, 0, SRCAND);
    EXPECT_TRUE(dst.changed);
    EXPECT_FALSE(src.changed);
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
        ASSERT_EQ(frame.changed, expected.changed);
        frame.changed = false;
    }
}

}  // namespace
}  // namespace platform
