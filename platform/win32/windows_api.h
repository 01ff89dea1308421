// The one header that lets <windows.h> in. Its macros (SRCCOPY, DM_PELSWIDTH, SND_ASYNC,
// CreateWindow, DrawText...) would rename the game's own spellings of those names, so the host
// never includes platform/constants.h, where they live, and the platform's headers use none.
#pragma once
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so the two agree
// The others use <windows.h>'s types, so it comes first.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <winioctl.h>
// clang-format on
