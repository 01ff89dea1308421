// Another copy runs when the test says so.
#include "null_host.h"
#include "platform/host.h"

namespace platform {

bool host::AnotherCopyRuns() {
    return null::Host().anotherCopy;
}

}  // namespace platform
