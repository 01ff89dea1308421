// Text on surfaces: where the glyphs land, their colour and blending, and clipping.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

namespace platform {
namespace {

constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kSky = 0x3366CC;

// Pixels of [x0, x1) x [y0, y1) no longer the sky's colour.
int Painted(const Surface& s, int x0 = 0, int y0 = 0, int x1 = INT_MAX, int y1 = INT_MAX) {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, s.Height()); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, s.Width()); ++x)
            count += s.Pixel(x, y) != kSky;
    return count;
}

TEST(Text, PaintsOnlyTheGlyphsInsideTheirCellClippedAtEveryEdge) {
    Surface s(640, 480, kSky);
    DrawText(s, 100, 200, "*** 1234", 17.5f, kYellow);
    EXPECT_TRUE(s.changed);
    const int right = 100 + TextWidth("*** 1234", 17.5f), bottom = 200 + TextHeight(17.5f);
    EXPECT_GT(Painted(s, 100, 200, right, bottom), 50);
    EXPECT_EQ(Painted(s), Painted(s, 100, 200, right, bottom));
    // The cell's top left is (x, y): the first star starts just right of it, a little below it.
    EXPECT_GT(Painted(s, 100, 200, 106, bottom), 0);
    EXPECT_EQ(Painted(s, 100, 200, right, 201), 0);

    // Drawn over all four edges of a small surface, it matches the unclipped line.
    Surface small(50, 10, kSky);
    DrawText(small, -12, -9, "*** 1234", 17.5f, kYellow);
    for (int y = 0; y < small.Height(); ++y)
        for (int x = 0; x < small.Width(); ++x)
            ASSERT_EQ(small.Pixel(x, y), s.Pixel(x + 112, y + 209)) << x << "," << y;
    EXPECT_GT(Painted(small), 10);

    // Just past the right or bottom edge, or far out either way: no pixel and no change.
    Surface out(64, 32, kSky);
    const int outside[][2] = {{64, 0}, {0, 32}, {-1000, 0}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
    for (const auto& at : outside) DrawText(out, at[0], at[1], " 12345 \\ 3", 24, 0xFFFFFF);
    EXPECT_EQ(Painted(out), 0);
    EXPECT_FALSE(out.changed);
    // Fonts closed at shutdown (between replays) open again on the next call.
    ShutdownText();
    EXPECT_EQ(TextWidth("*** 1234", 17.5f), right - 100);
}

TEST(Text, FullyCoveredPixelsHaveExactlyTheColourAndEdgesBlend) {
    // Drawn over black and over white: a pixel equal in both is fully covered. The colour's top
    // byte is not part of it.
    Surface on_black(200, 60, 0x000000), on_white(200, 60, 0xFFFFFF);
    DrawText(on_black, 4, 4, "Rezultat = 0", 24, 0xFF000000u | kYellow);
    DrawText(on_white, 4, 4, "Rezultat = 0", 24, 0xFF000000u | kYellow);
    int full = 0, partial = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t b = on_black.Pixel(x, y), w = on_white.Pixel(x, y);
            if (b == w) {
                ASSERT_EQ(b, kYellow) << x << "," << y;
                ++full;
            } else if (b != 0x000000) {
                // Blended with the same coverage: on black red rises as on white blue falls.
                ASSERT_EQ(b, ((b >> 16) & 0xFF) * 0x010100) << x << "," << y;
                ASSERT_EQ((w & 0xFF) + ((b >> 16) & 0xFF), 255u) << x << "," << y;
                ++partial;
            }
        }
    EXPECT_GT(full, 100);
    EXPECT_GT(partial, 20);  // antialiased
}

}  // namespace
}  // namespace platform
