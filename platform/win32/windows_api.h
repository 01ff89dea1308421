#pragma once
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so the two agree
#include <mmsystem.h>
#include <windows.h>
