// The report is recorded, and dismissed at once.
#include "platform/host.h"
#include "platform/null/null_host.h"

namespace platform {

void host::ShowErrorReport(const std::string& message) {
    null::Host().reports.push_back(message);
}

}  // namespace platform
