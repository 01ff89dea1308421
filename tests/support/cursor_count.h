// The cursor's display count, read as any program reads it: ShowCursor answers with the new one.
#pragma once

#include "platform/cursor.h"

namespace testing_support {

inline int32_t CursorCount() {
    const int32_t count = platform::ShowCursor(platform::True) - 1;
    platform::ShowCursor(0);
    return count;
}

}  // namespace testing_support
