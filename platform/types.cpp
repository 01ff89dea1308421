#include "types.h"

#include <cmath>
#include <limits>

#include "error.h"

namespace platform {

namespace {

template <typename T>
T Narrow(int64_t value) {
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        RaiseOverflow();
    return static_cast<T>(value);
}

// Nearest whole number, halves to even; NaN and values past any range are an overflow.
int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 9.0e15) RaiseOverflow();
    return static_cast<int64_t>(std::nearbyint(value));  // the default rounding mode is to-even
}

}  // namespace

Integer CInt(int64_t value) {
    return Narrow<Integer>(value);
}
Long CLng(int64_t value) {
    return Narrow<Long>(value);
}
Integer CInt(double value) {
    return Narrow<Integer>(RoundHalfEven(value));
}
Long CLng(double value) {
    return Narrow<Long>(RoundHalfEven(value));
}

}  // namespace platform
