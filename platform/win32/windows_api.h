#pragma once
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1
#include <windows.h>
#include <mmsystem.h>
