// Text on surfaces: where the glyphs land, and clipping.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>

namespace platform {
namespace {

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
    PrintText(s, 100, 200, "*** 1234", 17.5f, 0xFFFF00);
    EXPECT_TRUE(s.changed);
    const int right = 100 + TextWidth("*** 1234", 17.5f), bottom = 200 + TextHeight(17.5f);
    EXPECT_GT(Painted(s, 100, 200, right, bottom), 50);
    EXPECT_EQ(Painted(s), Painted(s, 100, 200, right, bottom));
    // Edges are blended with the sky; a line is as wide as its parts, give or take a kerning.
    int blended = 0;
    for (int y = 200; y < bottom; ++y)
        for (int x = 100; x < right; ++x)
            blended += s.Pixel(x, y) != kSky && s.Pixel(x, y) != 0xFFFF00;
    EXPECT_GT(blended, 10);
    EXPECT_NEAR(TextWidth("*** 1234", 17.5f), TextWidth("*** ", 17.5f) + TextWidth("1234", 17.5f),
                1);

    // Drawn over all four edges of a small surface, it matches the unclipped line.
    Surface small(50, 10, kSky);
    PrintText(small, -12, -9, "*** 1234", 17.5f, 0xFFFF00);
    for (int y = 0; y < small.Height(); ++y)
        for (int x = 0; x < small.Width(); ++x)
            ASSERT_EQ(small.Pixel(x, y), s.Pixel(x + 112, y + 209)) << x << "," << y;
    EXPECT_GT(Painted(small), 10);

    // Just past the right or bottom edge, or far out either way: no pixel and no change.
    Surface out(64, 32, kSky);
    const int outside[][2] = {{64, 0}, {0, 32}, {-1000, 0}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
    for (const auto& at : outside) PrintText(out, at[0], at[1], " 12345 \\ 3", 24, 0xFFFFFF);
    EXPECT_EQ(Painted(out), 0);
    EXPECT_FALSE(out.changed);
}

TEST(Text, TheDialogFaceReadsUtf8SoAnErrorNamesAFileAsItIsSpelt) {
    // One glyph each, as wide as its plain letter, not two Latin-1 ones ("Ã©"); a byte that
    // starts no valid sequence stands for itself.
    for (const auto& [utf8, plain] : {std::pair{"\xC3\xA9", "e"}, {"\xC5\xBE", "z"}, {"\xE9", "e"}})
        EXPECT_EQ(TextWidth(utf8, 12, Face::Dialog), TextWidth(plain, 12, Face::Dialog)) << utf8;
    Surface accented(40, 30, kSky), plain(40, 30, kSky);
    PrintText(accented, 0, 0, "\xC5\xBE", 12, 0, Face::Dialog);
    PrintText(plain, 0, 0, "z", 12, 0, Face::Dialog);
    EXPECT_GT(Painted(accented), Painted(plain)) << "the caron is drawn";
}

}  // namespace
}  // namespace platform
