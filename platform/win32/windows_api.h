// The one header that lets <windows.h> in. Its macros (SRCCOPY, DM_PELSWIDTH, SND_ASYNC,
// CreateWindow, DrawText...) would rename the game's own names, so no game-facing header is ever
// included after it; the game's constants live in platform/constants.h, which this host never uses.
#pragma once
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so the two agree
#include <windows.h>

#include <mmsystem.h>  // after <windows.h>, whose types it uses
