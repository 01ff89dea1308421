// The browser's file system lives in memory, for this page alone: the assets are unpacked into its
// /tmp as on the desktop, and go with the page. Reading and writing are standard_files.cpp's.
#include "platform/host.h"

namespace platform {

std::string host::TempFolder() {
    return "/tmp/";
}

char host::PathSeparator() {
    return '/';
}

uint32_t host::LongestPath() {
    return 4096;
}

}  // namespace platform
