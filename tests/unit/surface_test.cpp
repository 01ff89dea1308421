// Block transfers: the three raster operations pixel for pixel, and clipping on every edge of
// both the source and the destination.
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace platform {
namespace {

// A recognisable value for every pixel, so a misplaced copy shows.
uint32_t Pattern(int x, int y, uint32_t salt) {
    return ((static_cast<uint32_t>(x) * 0x010203u) ^ (static_cast<uint32_t>(y) * 0x030201u) ^
            salt) &
           0xFFFFFF;
}

Surface Patterned(int width, int height, uint32_t salt) {
    Surface s(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) s.SetPixel(x, y, Pattern(x, y, salt));
    return s;
}

constexpr uint32_t kDstSalt = 0x5A5A5A;
constexpr uint32_t kSrcSalt = 0xA35C0F;

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
    int wrong = 0;
    for (int y = 0; y < actual.Height(); ++y)
        for (int x = 0; x < actual.Width(); ++x)
            if (actual.Pixel(x, y) != expected.Pixel(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex
                              << actual.Pixel(x, y) << " instead of " << expected.Pixel(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST(Surface, ConstructsFilledAndFills) {
    Surface s(3, 2, 0x123456);
    EXPECT_EQ(s.Width(), 3);
    EXPECT_EQ(s.Height(), 2);
    EXPECT_EQ(s.Pixel(2, 1), 0x123456u);
    s.Fill(0xABCDEF);
    EXPECT_EQ(s.Pixel(0, 0), 0xABCDEFu);
    EXPECT_EQ(s.Pixel(2, 1), 0xABCDEFu);
    EXPECT_FALSE(s.changed);
}

TEST(Surface, NegativeSizeMakesAnEmptySurface) {
    Surface s(-4, 7);
    EXPECT_EQ(s.Width(), 0);
    EXPECT_EQ(s.Height(), 0);
}

TEST(BitBlt, RasterOperationsArePixelExact) {
    Surface dst(4, 1), src(4, 1);
    const uint32_t d[4] = {0x000000, 0xFFFFFF, 0xF0F0F0, 0x123456};
    const uint32_t s[4] = {0xFFFFFF, 0x000000, 0x0FF00F, 0x00FF00};
    for (int i = 0; i < 4; ++i) dst.SetPixel(i, 0, d[i]), src.SetPixel(i, 0, s[i]);

    Surface a = dst;
    EXPECT_EQ(BitBlt(&a, 0, 0, 4, 1, &src, 0, 0, SRCAND), 1);
    const uint32_t and_[4] = {0x000000, 0x000000, 0x00F000, 0x003400};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(a.Pixel(i, 0), and_[i]) << i;

    Surface o = dst;
    EXPECT_EQ(BitBlt(&o, 0, 0, 4, 1, &src, 0, 0, SRCPAINT), 1);
    const uint32_t or_[4] = {0xFFFFFF, 0xFFFFFF, 0xFFF0FF, 0x12FF56};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(o.Pixel(i, 0), or_[i]) << i;

    Surface c = dst;
    EXPECT_EQ(BitBlt(&c, 0, 0, 4, 1, &src, 0, 0, SRCCOPY), 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.Pixel(i, 0), s[i]) << i;
}

TEST(BitBlt, LargeBlocksMatchTheReference) {
    // Wide enough for every vector width and a remainder; offsets not multiples of anything.
    Surface src = Patterned(103, 61, kSrcSalt);
    for (uint32_t rop : {SRCCOPY, SRCAND, SRCPAINT}) {
        Surface dst = Patterned(97, 53, kDstSalt);
        const Surface expected = Expected(dst, 3, 5, 71, 37, src, 11, 7, rop);
        BitBlt(&dst, 3, 5, 71, 37, &src, 11, 7, rop);
        ExpectSame(dst, expected);
    }
}

TEST(BitBlt, WholeSurfaceCopy) {
    Surface src = Patterned(64, 48, kSrcSalt);
    Surface dst(64, 48);
    BitBlt(&dst, 0, 0, 64, 48, &src, 0, 0, SRCCOPY);
    ExpectSame(dst, src);
}

TEST(BitBlt, MaskedSpriteKeepsBackgroundWhereMaskIsWhite) {
    // The two-pass sprite of the game: mask (black = opaque) AND, then sprite OR.
    Surface dst(2, 2, 0x336699), mask(2, 2), sprite(2, 2);
    mask.SetPixel(0, 0, 0x000000), sprite.SetPixel(0, 0, 0x000000);  // opaque black
    mask.SetPixel(1, 0, 0x000000), sprite.SetPixel(1, 0, 0xFF0000);  // opaque red
    mask.SetPixel(0, 1, 0xFFFFFF), sprite.SetPixel(0, 1, 0x000000);  // transparent
    mask.SetPixel(1, 1, 0xFFFFFF), sprite.SetPixel(1, 1, 0x000010);  // transparent, faint rim
    BitBlt(&dst, 0, 0, 2, 2, &mask, 0, 0, SRCAND);
    BitBlt(&dst, 0, 0, 2, 2, &sprite, 0, 0, SRCPAINT);
    EXPECT_EQ(dst.Pixel(0, 0), 0x000000u);
    EXPECT_EQ(dst.Pixel(1, 0), 0xFF0000u);
    EXPECT_EQ(dst.Pixel(0, 1), 0x336699u);
    EXPECT_EQ(dst.Pixel(1, 1), 0x336699u | 0x000010u);
}

struct ClipCase {
    const char* name;
    int x, y, w, h, sx, sy;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ClipCase& c, std::ostream* os) {
    *os << c.name;
}

class BitBltClip : public ::testing::TestWithParam<ClipCase> {};

TEST_P(BitBltClip, TouchesOnlyPixelsWithSourceAndDestinationInside) {
    const ClipCase& c = GetParam();
    Surface src = Patterned(20, 16, kSrcSalt);
    for (uint32_t rop : {SRCCOPY, SRCAND, SRCPAINT}) {
        Surface dst = Patterned(24, 18, kDstSalt);
        const Surface expected = Expected(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, rop);
        BitBlt(&dst, c.x, c.y, c.w, c.h, &src, c.sx, c.sy, rop);
        SCOPED_TRACE(::testing::Message() << "rop " << std::hex << rop);
        ExpectSame(dst, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, BitBltClip,
    ::testing::Values(
        // destination over each edge
        ClipCase{"DstLeft", -5, 2, 10, 6, 1, 1}, ClipCase{"DstTop", 3, -4, 10, 6, 1, 1},
        ClipCase{"DstRight", 18, 2, 10, 6, 1, 1}, ClipCase{"DstBottom", 3, 15, 10, 6, 1, 1},
        ClipCase{"DstAllFour", -3, -3, 40, 40, 0, 0},
        // source rectangle partly outside the source: those destination pixels untouched
        ClipCase{"SrcLeft", 4, 4, 10, 6, -6, 2}, ClipCase{"SrcTop", 4, 4, 10, 6, 2, -3},
        ClipCase{"SrcRight", 4, 4, 10, 6, 15, 2}, ClipCase{"SrcBottom", 4, 4, 10, 6, 2, 13},
        ClipCase{"SrcAllFour", 2, 1, 30, 30, -2, -5},
        // both at once, in opposite directions
        ClipCase{"DstLeftSrcRight", -4, 3, 12, 5, 14, 1},
        ClipCase{"DstBottomSrcTop", 2, 14, 6, 9, 3, -2},
        // nothing overlaps
        ClipCase{"DstFarLeft", -30, 0, 10, 10, 0, 0}, ClipCase{"DstFarBelow", 0, 18, 10, 10, 0, 0},
        ClipCase{"SrcFarRight", 0, 0, 10, 10, 20, 0}, ClipCase{"SrcFarAbove", 0, 0, 10, 10, 0, -10},
        ClipCase{"ZeroWidth", 2, 2, 0, 5, 0, 0}, ClipCase{"NegativeHeight", 2, 2, 5, -5, 0, 0}),
    [](const ::testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

TEST(BitBlt, ExtremeCoordinatesDoNotWrap) {
    Surface src = Patterned(8, 8, kSrcSalt);
    Surface dst = Patterned(8, 8, kDstSalt);
    const Surface before = dst;
    BitBlt(&dst, INT32_MAX - 2, 0, 10, 4, &src, 0, 0, SRCCOPY);
    BitBlt(&dst, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, &src, 0, 0, SRCCOPY);
    BitBlt(&dst, 0, 0, INT32_MAX, INT32_MAX, &src, INT32_MAX, 0, SRCCOPY);
    BitBlt(&dst, 0, 0, 4, 4, &src, INT32_MIN, INT32_MIN, SRCCOPY);
    ExpectSame(dst, before);
    BitBlt(&dst, -1, -1, INT32_MAX, INT32_MAX, &src, 0, 0, SRCCOPY);
    ExpectSame(dst, Expected(before, -1, -1, 100, 100, src, 0, 0, SRCCOPY));
}

TEST(BitBlt, ChangedFlag) {
    Surface src(4, 4, 0xFFFFFF);
    Surface dst(4, 4);
    BitBlt(&dst, 10, 10, 4, 4, &src, 0, 0, SRCCOPY);  // entirely outside
    EXPECT_FALSE(dst.changed);
    BitBlt(&dst, 0, 0, 4, 4, &src, 8, 0, SRCCOPY);  // source entirely outside
    EXPECT_FALSE(dst.changed);
    BitBlt(&dst, 0, 0, 0, 4, &src, 0, 0, SRCCOPY);
    EXPECT_FALSE(dst.changed);
    BitBlt(&dst, 2, 2, 4, 4, &src, 0, 0, SRCAND);
    EXPECT_TRUE(dst.changed);
    EXPECT_FALSE(src.changed);
}

TEST(BitBlt, UnknownRasterOperationDoesNothing) {
    Surface src(4, 4, 0xFFFFFF);
    Surface dst(4, 4, 0x123456);
    EXPECT_EQ(BitBlt(&dst, 0, 0, 4, 4, &src, 0, 0, 0x00660046 /* SRCINVERT */), 0);
    EXPECT_EQ(dst.Pixel(1, 1), 0x123456u);
    EXPECT_FALSE(dst.changed);
}

TEST(BitBlt, NullDeviceContextDoesNothing) {
    Surface s(4, 4);
    EXPECT_EQ(BitBlt(nullptr, 0, 0, 4, 4, &s, 0, 0, SRCCOPY), 0);
    EXPECT_EQ(BitBlt(&s, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY), 0);
    EXPECT_FALSE(s.changed);
}

TEST(BitBlt, EmptySurfacesAreHarmless) {
    Surface empty;
    Surface s = Patterned(4, 4, kDstSalt);
    const Surface before = s;
    BitBlt(&s, 0, 0, 4, 4, &empty, 0, 0, SRCCOPY);
    BitBlt(&empty, 0, 0, 4, 4, &s, 0, 0, SRCPAINT);
    ExpectSame(s, before);
    EXPECT_FALSE(empty.changed);
}

TEST(BitBlt, SameSurfaceNonOverlapping) {
    // The crosshair sheet holds picture and mask; the game never copies within it, but a
    // transfer from one part of a surface to another must work.
    for (uint32_t rop : {SRCCOPY, SRCAND, SRCPAINT}) {
        Surface s = Patterned(30, 20, kSrcSalt);
        const Surface expected = Expected(s, 16, 11, 10, 8, s, 1, 1, rop);
        BitBlt(&s, 16, 11, 10, 8, &s, 1, 1, rop);
        ExpectSame(s, expected);
    }
}

TEST(BitBlt, SameSurfaceOverlappingBehavesAsIfSourceWereCopiedFirst) {
    const int moves[][2] = {{3, 2}, {-3, -2}, {4, 0}, {-4, 0}, {0, 3}, {2, -1}, {-2, 1}};
    for (const auto& move : moves) {
        for (uint32_t rop : {SRCCOPY, SRCAND, SRCPAINT}) {
            Surface s = Patterned(30, 20, kSrcSalt);
            const Surface copy = s;
            const Surface expected = Expected(s, 5 + move[0], 5 + move[1], 15, 10, copy, 5, 5, rop);
            BitBlt(&s, 5 + move[0], 5 + move[1], 15, 10, &s, 5, 5, rop);
            SCOPED_TRACE(::testing::Message() << move[0] << "," << move[1] << " rop " << rop);
            ExpectSame(s, expected);
        }
    }
}

}  // namespace
}  // namespace platform
