// The temporary folder the test chooses, or one of this process's own.
#include <filesystem>
#include <random>

#include "null_host.h"
#include "platform/host.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// One folder per process: two suites running side by side never meet.
fs::path OwnTempFolder() {
    static const fs::path folder = [] {
        fs::path path =
            fs::temp_directory_path() / ("puffpop-null-" + std::to_string(std::random_device{}()));
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

std::string host::TempFolder() {
    const fs::path& chosen = null::Host().tempFolder;
    std::string path = (chosen.empty() ? OwnTempFolder() : chosen).string();
    if (path.back() != PathSeparator()) path += PathSeparator();
    return path;
}

char host::PathSeparator() {
    return static_cast<char>(fs::path::preferred_separator);
}

uint32_t host::LongestPath() {
    return 4096;
}

}  // namespace platform
