// One copy per browser: the first tab holds a Web Lock for as long as it is open; a second one
// finds it taken. A closed or crashed tab lets its lock go with it.
#include "platform/host.h"
#include "web_host.h"

namespace platform {

bool host::AnotherCopyRuns() {
    return puffpop_web_lock_taken() != 0;
}

}  // namespace platform
