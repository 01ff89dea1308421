// Text on surfaces: sizes, where the glyphs land, their colour and blending, and clipping.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace platform {
namespace {

constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kSky = 0x3366CC;

struct Box {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;  // inclusive
    int count = 0;
};

// The pixels that differ from a uniform background.
Box Painted(const Surface& s, uint32_t background) {
    Box box;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.Pixel(x, y) != background) {
                box.left = std::min(box.left, x), box.right = std::max(box.right, x);
                box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

TEST(Text, WidthGrowsWithTheStringAndTheSize) {
    EXPECT_EQ(TextWidth("", 24), 0);
    const int one = TextWidth("K", 24);
    const int line = TextWidth("Klikni za pocetak...!", 24);
    EXPECT_GT(one, 0);
    EXPECT_GT(line, one * 5);
    EXPECT_GT(TextWidth("Rezultat = 12345", 24), TextWidth("Rezultat = 1", 24));
    EXPECT_LT(TextWidth("KRAJ IGRE", 8.25f), TextWidth("KRAJ IGRE", 17.5f));
    EXPECT_LT(TextWidth("KRAJ IGRE", 17.5f), TextWidth("KRAJ IGRE", 24));
    // Spaces have width: the credit line's leading spaces move its words right.
    EXPECT_GT(TextWidth("    By", 8.25f), TextWidth("By", 8.25f));
}

TEST(Text, LineHeightFollowsTheSize) {
    const int big = TextHeight(24);  // 32 pixels of em
    EXPECT_GE(big, 32);
    EXPECT_LE(big, 38);
    EXPECT_LT(TextHeight(17.5f), big);
    EXPECT_LT(TextHeight(8.25f), TextHeight(17.5f));
    EXPECT_GE(TextHeight(8.25f), 11);
}

TEST(Text, DrawsOnlyNearTheGlyphs) {
    Surface s(640, 480, kSky);
    const std::string line = "KRAJ IGRE";
    DrawText(s, 100, 200, line, 24, kYellow);
    EXPECT_TRUE(s.changed);
    const Box box = Painted(s, kSky);
    ASSERT_GT(box.count, 100);
    EXPECT_GE(box.left, 100);
    EXPECT_LE(box.left, 100 + 6);
    EXPECT_LE(box.right, 100 + TextWidth(line, 24));
    EXPECT_GT(box.right, 100 + TextWidth(line, 24) - 8);
    // The cell's top is (x, y); capitals start a few pixels below it and end above its bottom.
    EXPECT_GT(box.top, 200);
    EXPECT_LT(box.top, 200 + 12);
    EXPECT_LT(box.bottom, 200 + TextHeight(24));
    EXPECT_GT(box.bottom, 200 + 20);
}

TEST(Text, FullyCoveredPixelsHaveExactlyTheColourAndEdgesBlend) {
    // Drawn over black and over white: a pixel equal in both is fully covered.
    Surface on_black(200, 60, 0x000000), on_white(200, 60, 0xFFFFFF);
    DrawText(on_black, 4, 4, "Rezultat = 0", 24, kYellow);
    DrawText(on_white, 4, 4, "Rezultat = 0", 24, kYellow);
    int full = 0, partial = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t b = on_black.Pixel(x, y), w = on_white.Pixel(x, y);
            if (b == w) {
                EXPECT_EQ(b, kYellow) << x << "," << y;
                ++full;
            } else if (b != 0x000000) {
                ++partial;
                // Blended: on black the blue channel stays 0 and red equals green.
                EXPECT_EQ(b & 0xFF, 0u);
                EXPECT_EQ((b >> 16) & 0xFF, (b >> 8) & 0xFF);
                // On white, red and green stay full and blue falls as coverage rises.
                EXPECT_EQ(w & 0xFFFF00, 0xFFFF00u);
                EXPECT_EQ((w & 0xFF) + ((b >> 16) & 0xFF), 255u) << x << "," << y;
            }
        }
    EXPECT_GT(full, 100);
    EXPECT_GT(partial, 20);  // antialiased
}

TEST(Text, ClippedDrawingMatchesTheUnclippedOne) {
    Surface big(300, 100, kSky);
    DrawText(big, 40, 30, "*** 1234", 17.5f, kWhite);
    // The same line drawn 40 to the left of and 30 above a small surface's corner.
    Surface small(60, 20, kSky);
    DrawText(small, 0, 0, "*** 1234", 17.5f, kWhite);  // warm the cache: same result either way
    small.Fill(kSky);
    DrawText(small, -12, -9, "*** 1234", 17.5f, kWhite);
    for (int y = 0; y < small.Height(); ++y)
        for (int x = 0; x < small.Width(); ++x)
            ASSERT_EQ(small.Pixel(x, y), big.Pixel(x + 52, y + 39)) << x << "," << y;
    EXPECT_GT(Painted(small, kSky).count, 10);
}

TEST(Text, PastEveryEdgeDoesNotCrash) {
    Surface s(64, 32, kSky);
    const std::string line = " 12345 \\ 3";
    DrawText(s, 50, 25, line, 8.25f, kWhite);  // runs past the right and bottom edges
    EXPECT_TRUE(s.changed);
    DrawText(s, -30, -5, line, 24, kWhite);
    DrawText(s, INT_MAX, INT_MAX, line, 24, kWhite);
    DrawText(s, INT_MIN, INT_MIN, line, 24, kWhite);
    DrawText(s, 64, 0, line, 24, kWhite);  // starts just past the right edge: nothing
    DrawText(s, 0, 32, line, 24, kWhite);
    Surface empty;
    DrawText(empty, 0, 0, line, 24, kWhite);
    EXPECT_FALSE(empty.changed);

    Surface untouched(64, 32, kSky);
    DrawText(untouched, 64, 0, line, 24, kWhite);
    DrawText(untouched, 0, 32, line, 24, kWhite);
    DrawText(untouched, -1000, 0, line, 24, kWhite);
    EXPECT_EQ(Painted(untouched, kSky).count, 0);
    EXPECT_FALSE(untouched.changed);
}

TEST(Text, EmptyStringDrawsNothing) {
    Surface s(32, 32, kSky);
    DrawText(s, 0, 0, "", 24, kWhite);
    EXPECT_EQ(Painted(s, kSky).count, 0);
    EXPECT_FALSE(s.changed);
}

TEST(Text, SpacesAloneDrawNothingVisible) {
    Surface s(200, 40, kSky);
    DrawText(s, 0, 0, "      ", 24, kWhite);
    EXPECT_EQ(Painted(s, kSky).count, 0);
}

TEST(Text, LatinOneCharactersRender) {
    Surface s(100, 40, kSky);
    DrawText(s, 0, 0, "\xC4\xE9", 17.5f, kWhite);  // A with diaeresis, e with acute
    EXPECT_GT(Painted(s, kSky).count, 10);
    EXPECT_GT(TextWidth("\xC4", 17.5f), 0);
}

TEST(Text, ColourIgnoresTheTopByte) {
    Surface a(80, 40, kSky), b(80, 40, kSky);
    DrawText(a, 2, 2, "42", 17.5f, kYellow);
    DrawText(b, 2, 2, "42", 17.5f, 0xFF000000u | kYellow);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y));
}

TEST(Text, ShutdownAndReopen) {
    const int before = TextWidth("Puffpop", 24);
    ShutdownText();
    EXPECT_EQ(TextWidth("Puffpop", 24), before);
}

}  // namespace
}  // namespace platform
