// The window's framebuffer: a form draws straight into it where it can, into a surface of its own
// where the frame is scaled, and either way its picture survives hiding, showing and closing.
#include <gtest/gtest.h>

#include "platform/constants.h"
#include "platform/desktop.h"
#include "platform/display.h"
#include "platform/form.h"

TEST(SdlWindow, TheFrameSurvivesScalingHidingAndClosing) {
    using namespace platform;
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full-screen" : "windowed");
        Form form(FormDesign{.caption = "frame", .clientWidth = 640, .clientHeight = 480});
        form.Show();
        DEVMODEA mode{};
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = 640, mode.dmPelsHeight = 480;
        Surface& surface = *form.hDC();
        for (int pass = 0; pass < 2; ++pass) {  // the second draws where the first presented
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) surface.SetPixel(x, y, uint32_t(x * 4099 + y));
            surface.changed = true;
            form.Present();
            // Scaled from now on: the desktop is larger.
            if (full && pass == 0) ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
        }
        EXPECT_EQ(surface.Attached(), !full) << "a scaled frame needs its own surface";
        form.Hide();
        form.Show();
        form.Present();
        form.Unload();  // the window goes; the form's picture stays readable
        for (int y = 0; y < 480; y += 7)
            for (int x = 0; x < 640; x += 5) ASSERT_EQ(surface.Pixel(x, y), uint32_t(x * 4099 + y));
        RestoreDesktop();
    }
}
