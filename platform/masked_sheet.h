// Masked sprites drawn by runs: what a mask-then-sprite transfer changes, worked out once per
// pair of pictures, so that drawing touches only those pixels.
#pragma once

#include <cstdint>

#include "surface.h"

namespace platform {

// Pixel for pixel the same as BitBlt(dst, x, y, width, height, mask, mx, my, SRCAND) followed by
// BitBlt(dst, x, y, width, height, sprite, sx, sy, SRCPAINT), for any pictures. Where the mask is
// white and the sprite black nothing is touched; where the sprite covers what the mask leaves
// the sprite is copied; only the pixels in between (a dark rim under a light mask) are ANDed and
// ORed. The runs are worked out on the first use of a mask with a sprite at a given offset from
// it, and again after either picture changes.
int32_t MaskedBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC mask,
                  int32_t mx, int32_t my, HDC sprite, int32_t sx, int32_t sy);

}  // namespace platform
