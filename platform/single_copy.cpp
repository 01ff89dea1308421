#include "single_copy.h"

#include "host.h"

namespace platform {

bool PrevInstance() {
    return host::AnotherCopyRuns();
}

}  // namespace platform
