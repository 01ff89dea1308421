// Copying and showing only what changed: the very pixels of copying and showing everything,
// whatever is drawn in between, and a small change stays small.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "platform/constants.h"
#include "platform/masked_sheet.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr int kW = 160, kH = 120;

// The plain way: every pixel, through writable rows, which tells the surface nothing.
void CopyEverything(Surface& to, const Surface& from) {
    for (int y = 0; y < from.Height(); ++y)
        for (int x = 0; x < from.Width(); ++x) to.SetPixel(x, y, from.Pixel(x, y));
}

::testing::AssertionResult Same(const Surface& a, const uint32_t* b) {
    for (int y = 0; y < kH; ++y)
        if (std::memcmp(a.Row(y), b + y * kW, kW * sizeof(uint32_t)) != 0)
            return ::testing::AssertionFailure() << "row " << y << " differs";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Same(const Surface& a, const Surface& b) {
    return Same(a, b.Row(0));
}

// A window as a host keeps one: it takes only the rectangles it is given, all of it otherwise.
struct Window {
    std::vector<uint32_t> shows = std::vector<uint32_t>(kW * kH);
    ShownFrame shown;
    std::vector<Rect> rects;
    int64_t sent = 0;  // pixels of the last present

    void Present(const Surface& s) {
        if (!shown.Changed(s, rects)) rects.assign(1, {0, 0, kW, kH});
        sent = 0;
        for (const Rect& r : rects) {
            sent += int64_t{r.w} * r.h;
            for (int y = r.y; y < r.y + r.h; ++y)
                for (int x = r.x; x < r.x + r.w; ++x) shows[y * kW + x] = s.Pixel(x, y);
        }
    }
};

TEST(Changes, CopyingAndShowingWhatChangedEqualsCopyingEverythingOnRandomFrames) {
    std::mt19937 random(4519);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    Surface sheet(60, 40), mask(60, 40, 0xFFFFFF);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            sheet.SetPixel(x, y, random() & 0xFFFFFF);
            if ((x / 6 + y / 5) % 3 == 0) mask.SetPixel(x, y, 0);
        }
    // The sky, the work picture and the form's, each beside its plainly copied twin; `other`
    // stands for any further picture a whole copy may come from.
    Surface sky(kW, kH, 0x3366CC), work(kW, kH), form(kW, kH), other(kW, kH, 0x102030);
    Surface skyTwin = sky, workTwin = work, formTwin = form;
    Window window;
    const uint32_t rops[] = {SRCCOPY, SRCAND, SRCPAINT};
    // Something drawn on a picture and its twin alike, over any edge or none.
    auto draw = [&](Surface& s, Surface& twin) {
        const int x = pick(kW + 40) - 20, y = pick(kH + 40) - 20, w = pick(40), h = pick(40);
        const int sx = pick(50) - 5, sy = pick(30) - 5;
        switch (pick(6)) {
            case 0:
            case 1: {
                const uint32_t rop = rops[pick(3)];
                BitBlt(&s, x, y, w, h, &sheet, sx, sy, rop);
                BitBlt(&twin, x, y, w, h, &sheet, sx, sy, rop);
                break;
            }
            case 2:
                MaskedBlt(&s, x, y, w, h, &mask, sx, sy, &sheet, sx, sy);
                MaskedBlt(&twin, x, y, w, h, &mask, sx, sy, &sheet, sx, sy);
                break;
            case 3:
                PrintText(s, x, y, "Rezultat = 42", 14, 0xFFFF00);
                PrintText(twin, x, y, "Rezultat = 42", 14, 0xFFFF00);
                break;
            case 4: {  // onto itself, overlapping
                const int dx = pick(9) - 4, dy = pick(9) - 4;
                BitBlt(&s, x, y, w, h, &s, x + dx, y + dy, SRCCOPY);
                BitBlt(&twin, x, y, w, h, &twin, x + dx, y + dy, SRCCOPY);
                break;
            }
            default:
                s.SetPixel(pick(kW), pick(kH), random() & 0xFFFFFF);
                CopyEverything(twin, s);
                break;
        }
    };
    for (int step = 0; step < 2000; ++step) {
        SCOPED_TRACE(::testing::Message() << "step " << step);
        // A frame: the sky over the work picture, a few things drawn, the work picture into the
        // form, the form shown. Now and then something else happens first.
        switch (pick(12)) {
            case 0:
                draw(sky, skyTwin);
                break;
            case 1:
                draw(form, formTwin);
                break;
            case 2:  // more drawn than the log keeps
                for (int i = 0; i < 1100; ++i)
                    BitBlt(&work, pick(kW), pick(kH), 1, 1, &sheet, 0, 0, SRCCOPY);
                CopyEverything(workTwin, work);
                break;
            case 3:  // a whole copy from another picture, then from the usual one again
                BitBlt(&work, 0, 0, kW, kH, &other, 0, 0, SRCCOPY);
                CopyEverything(workTwin, other);
                draw(other, other);
                break;
            case 4:
                window.shown.Forget();
                break;
            case 5:
                form.Fill(random() & 0xFFFFFF);
                formTwin.Fill(form.Pixel(0, 0));
                break;
            default:
                break;
        }
        BitBlt(&work, 0, 0, kW, kH, &sky, 0, 0, SRCCOPY);
        CopyEverything(workTwin, sky);
        for (int i = pick(5); i > 0; --i) draw(work, workTwin);
        ASSERT_TRUE(Same(work, workTwin));
        BitBlt(&form, 0, 0, kW, kH, &work, 0, 0, SRCCOPY);
        CopyEverything(formTwin, work);
        ASSERT_TRUE(Same(form, formTwin));
        window.Present(form);
        ASSERT_TRUE(Same(form, window.shows.data()));
    }
}

TEST(Changes, ABlockMovingOverTheSkyCopiesAndShowsOnlyWhereItWasAndIs) {
    Surface sky(kW, kH, 0x3366CC), block(20, 20, 0xFF0000), work(kW, kH), form(kW, kH);
    Window window;
    auto frame = [&](int x, int y) {
        BitBlt(&work, 0, 0, kW, kH, &sky, 0, 0, SRCCOPY);
        if (x >= 0) BitBlt(&work, x, y, 20, 20, &block, 0, 0, SRCCOPY);
        BitBlt(&form, 0, 0, kW, kH, &work, 0, 0, SRCCOPY);
        window.Present(form);
        return window.sent;
    };
    EXPECT_EQ(frame(-1, 0), kW * kH);  // the first frame is all of it
    EXPECT_EQ(frame(-1, 0), 0);        // then nothing changes
    EXPECT_EQ(frame(50, 60), 20 * 20);
    EXPECT_EQ(frame(53, 57), 23 * 23);  // where it was and where it is, as one block
    EXPECT_EQ(frame(53, 57), 0);        // drawn again in the same place: nothing new to show
    EXPECT_EQ(frame(120, 10), 2 * 20 * 20);  // far apart: two blocks, not the box round both
    block.SetPixel(5, 7, 0x00FF00);
    EXPECT_EQ(frame(120, 10), 20);  // one pixel of it changed: its row alone
    EXPECT_EQ(frame(-1, 0), 20 * 20);
    EXPECT_EQ(frame(-1, 0), 0);
    window.shown.Forget();  // exposed: all of it again
    EXPECT_EQ(frame(-1, 0), kW * kH);
    EXPECT_TRUE(Same(form, window.shows.data()));
}

}  // namespace
}  // namespace platform
