// The number types the game is written in, and checked arithmetic on them.
//
// The game counts in 16-bit Integers and 32-bit Longs and treats an overflow as an error,
// never as a wrap-around: a result that leaves its type's range raises a RuntimeError.
#pragma once

#include <cstdint>

namespace platform {

using Integer = int16_t;  // also the Boolean: 0 false, -1 true
using Boolean = int16_t;
using Long = int32_t;
using Single = float;

constexpr Boolean True = -1;
constexpr Boolean False = 0;

// Narrow an exact result to an Integer or a Long; out of range is an overflow error.
Integer CInt(int64_t value);
Long CLng(int64_t value);
inline Integer CInt(int value) {
    return CInt(static_cast<int64_t>(value));
}
inline Long CLng(int value) {
    return CLng(static_cast<int64_t>(value));
}

// Round a float to the nearest whole number, halves to even, then narrow (checked).
Integer CInt(double value);
Long CLng(double value);

// The game's own Boolean from a C++ condition.
constexpr Boolean CBool(bool condition) {
    return condition ? True : False;
}

}  // namespace platform
