// What the processor offers beyond the baseline the build targets, for the pixel loops that have
// a faster copy compiled for it.
#pragma once

namespace platform {

// True where the processor runs 256-bit AVX2 instructions; asked once, then remembered. Always
// false off x86-64 or with a compiler that cannot ask.
bool HasAvx2();

}  // namespace platform
