// The desktop calls' constants, under the names the game knows them by.
//
// For the game's code only: <windows.h> defines the same names as macros, so the Windows host
// never includes this header and passes the values through unchanged, as they are Windows' own.
#pragma once

#include <cstdint>

namespace platform {

// Raster operations of BitBlt.
constexpr uint32_t SRCCOPY = 0x00CC0020;   // destination = source
constexpr uint32_t SRCAND = 0x008800C6;    // destination = destination AND source
constexpr uint32_t SRCPAINT = 0x00EE0086;  // destination = destination OR source

// The display-mode record's fields and ChangeDisplaySettingsA's flags and answers.
constexpr uint32_t DM_BITSPERPEL = 0x00040000;
constexpr uint32_t DM_PELSWIDTH = 0x00080000;
constexpr uint32_t DM_PELSHEIGHT = 0x00100000;
constexpr uint32_t DM_DISPLAYFREQUENCY = 0x00400000;
constexpr uint32_t CDS_FULLSCREEN = 0x00000004;
constexpr int32_t DISP_CHANGE_SUCCESSFUL = 0;
constexpr int32_t DISP_CHANGE_BADMODE = -2;

// sndPlaySoundA's flags.
constexpr int32_t SND_SYNC = 0x0000;       // return when the sound has been heard
constexpr int32_t SND_ASYNC = 0x0001;      // return at once, the sound plays on
constexpr int32_t SND_NODEFAULT = 0x0002;  // silence, not a default sound, when it cannot play

}  // namespace platform
