// The report is a window of the page's, over the game: the program's name, the message, OK.
#include "platform/host.h"
#include "platform/identity.h"
#include "web_host.h"

namespace platform {

void host::ShowErrorReport(const std::string& message) {
    puffpop_web_report(Program().title.c_str(), message.c_str());
}

}  // namespace platform
