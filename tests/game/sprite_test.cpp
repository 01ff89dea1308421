// The masked sprite blitter on sheets whose every pixel tells where it came from.
#include <gtest/gtest.h>

#include <array>

#include "game/basBALLOON.h"
#include "platform/picture.h"

namespace {

using game::basBALLOON::DrawSprite;
using platform::Surface;

// A sheet of columns x rows cells of w x h with gutters, each cell pixel encoding its sheet
// position; a mask row opaque (black) in each cell's left half, clear (white) in its right half.
struct Boxes {
    platform::PictureBox sheet, mask, work{640, 480};
    Boxes(int w, int h, int columns, int rows) {
        auto pixels =
            std::make_shared<Surface>(columns * (w + 1) + 1, rows * (h + 1) + 1, 0x123456);
        for (int y = 0; y < pixels->Height(); ++y)
            for (int x = 0; x < pixels->Width(); ++x)
                if (x % (w + 1) != 0 && y % (h + 1) != 0)
                    pixels->SetPixel(x, y, uint32_t(y << 12 | x));
        auto halves = std::make_shared<Surface>(columns * (w + 1) + 1, h + 2, 0xFFFFFF);
        for (int y = 1; y <= h; ++y)
            for (int x = 1; x < halves->Width(); ++x)
                if (x % (w + 1) != 0 && x % (w + 1) <= w / 2) halves->SetPixel(x, y, 0);
        sheet.SetPicture(pixels);
        mask.SetPicture(halves);
        work.hDC()->Fill(0x00A0A0);
    }
    uint32_t At(int x, int y) { return work.hDC()->Pixel(x, y); }
};

TEST(DrawSprite, FarCellsLandOnTheirPixelsAndCellsOutsideTheSheetDrawNothing) {
    // The last balloon cell, the last burst cell, the firing crosshair.
    const std::array<int, 8> cases[] = {{60, 60, 5, 4, 5, 3, 245, 184},
                                        {100, 100, 7, 4, 7, 3, 607, 304},
                                        {22, 22, 2, 2, 2, 1, 24, 24}};
    for (auto [w, h, columns, rows, column, row, firstX, firstY] : cases) {
        Boxes b(w, h, columns, rows);
        DrawSprite(b.sheet, b.mask, b.work, column, column, row, 0, 10, 20, w, h);
        // Opaque left half: the sheet's own pixels, from the cell's first to its last column.
        EXPECT_EQ(b.At(10, 20), uint32_t(firstY << 12 | firstX));
        EXPECT_EQ(b.At(10 + w / 2 - 1, 20 + h - 1),
                  uint32_t((firstY + h - 1) << 12 | (firstX + w / 2 - 1)));
        // Clear right half: background OR sprite, the rim rule of the art.
        EXPECT_EQ(b.At(10 + w - 1, 20), 0x00A0A0u | uint32_t(firstY << 12 | (firstX + w - 1)));
        EXPECT_EQ(b.At(9, 20), 0x00A0A0u);
        EXPECT_EQ(b.At(10 + w, 20 + h), 0x00A0A0u);
    }
    Boxes b(100, 100, 7, 4);
    for (game::Integer column : {0, 8, 9})
        DrawSprite(b.sheet, b.mask, b.work, column, column, 2, 0, 100, 100, 100, 100);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_EQ(b.At(x, y), 0x00A0A0u) << x << ", " << y;
}

}  // namespace
