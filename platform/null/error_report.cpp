// The report is recorded, and dismissed at once.
#include "null_host.h"
#include "platform/host.h"

namespace platform {

void host::ShowErrorReport(const std::string& message) {
    null::Host().reports.push_back(message);
}

}  // namespace platform
