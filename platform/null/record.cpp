// The record the null host keeps and the tests read.
#include <algorithm>
#include <utility>

#include "null_host.h"

namespace platform::null {

Record& Host() {
    static Record record;
    return record;
}

// The windows still open belong to forms still loaded: they stay.
void Reset() {
    std::vector<WindowRecord> windows = std::move(Host().windows);
    Host() = Record{};
    Host().windows = std::move(windows);
}

WindowRecord* Window(uint32_t id) {
    auto& windows = Host().windows;
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [id](const WindowRecord& w) { return w.id == id; });
    return found != windows.end() ? &*found : nullptr;
}

}  // namespace platform::null
