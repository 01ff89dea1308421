#include "temp_dir.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/files.h"

namespace testing_support {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "puffpop-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    if (swapped_) {
        platform::SetSharedTempFolder(savedShared_);
        if (hadTmp_)
            setenv("TMPDIR", savedTmp_.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::UseAsTemp() {
    if (!swapped_) {
        const char* old = std::getenv("TMPDIR");
        hadTmp_ = old != nullptr;
        if (old) savedTmp_ = old;
        savedShared_ = platform::SharedTempFolder();
        swapped_ = true;
    }
    setenv("TMPDIR", (path_.string() + "/").c_str(), 1);
    platform::SetSharedTempFolder(path_.string());
}

}  // namespace testing_support
