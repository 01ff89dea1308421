// Another copy runs when the test says so.
#include "platform/host.h"
#include "platform/null/null_host.h"

namespace platform {

bool host::AnotherCopyRuns() {
    return null::Host().anotherCopy;
}

}  // namespace platform
