// Display modes: the record the game fills and the calls that switch the screen.
#pragma once

#include <cstdint>

#include "types.h"

namespace platform {

// Positions and sizes of forms and of the screen are in twips: 15 to a pixel.
constexpr int32_t kTwipsPerPixel = 15;

// The screen in twips.
namespace Screen {
constexpr Single TwipsPerPixelX = kTwipsPerPixel;
constexpr Single TwipsPerPixelY = kTwipsPerPixel;
Single Width();
Single Height();
}  // namespace Screen

// The display-mode record in its 124-byte form, member for member.
#pragma pack(push, 1)
struct DEVMODEA {
    char dmDeviceName[32];
    uint16_t dmSpecVersion;
    uint16_t dmDriverVersion;
    uint16_t dmSize;
    uint16_t dmDriverExtra;
    uint32_t dmFields;
    int16_t dmOrientation;
    int16_t dmPaperSize;
    int16_t dmPaperLength;
    int16_t dmPaperWidth;
    int16_t dmScale;
    int16_t dmCopies;
    int16_t dmDefaultSource;
    int16_t dmPrintQuality;
    int16_t dmColor;
    int16_t dmDuplex;
    int16_t dmYResolution;
    int16_t dmTTOption;
    int16_t dmCollate;
    char dmFormName[32];
    uint16_t dmUnusedPadding;
    uint32_t dmBitsPerPel;
    uint32_t dmPelsWidth;
    uint32_t dmPelsHeight;
    uint32_t dmDisplayFlags;
    uint32_t dmDisplayFrequency;
};
#pragma pack(pop)
static_assert(sizeof(DEVMODEA) == 124);

// Fills the record with the display's mode number modeNum (0 is the first of its list).
// deviceName must be null: there is only the current display. Returns 1, or 0 when there is no
// such mode.
int32_t EnumDisplaySettingsA(const char* deviceName, uint32_t modeNum, DEVMODEA* mode);

// Asks for the width and height the record names (only those fields are honoured). The change
// is temporary: a size other than the desktop's shows a borderless window at (0, 0) of that size
// full-screen, at a real mode where the display has one, otherwise scaled to fit, letterboxed.
// Asking for the desktop's size puts everything back.
int32_t ChangeDisplaySettingsA(const DEVMODEA* mode, uint32_t flags);

// The mode the game has asked for, or the desktop's when it has asked for none.
struct DisplaySize {
    int32_t width;
    int32_t height;
};
DisplaySize CurrentDisplaySize();
DisplaySize DesktopSize();

// For the hosts' windows: whether a form's window of this client size fills the screen now (a
// borderless one, at a mode the game asked for that is not the desktop's), and where a frame of
// that size lands when scaled to fit a larger one.
bool ShowsFullScreen(int width, int height, bool borderless);
struct Letterbox {
    int x, y, w, h;
    // A point in the outer frame back to the width x height one shown scaled in the box.
    void ToInner(int width, int height, int& px, int& py) const {
        if (w <= 0 || h <= 0) return;
        px = (px - x) * width / w;
        py = (py - y) * height / h;
    }
};
Letterbox FitInside(int width, int height, int outerWidth, int outerHeight);

}  // namespace platform
