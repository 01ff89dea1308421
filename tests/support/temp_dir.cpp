#include "temp_dir.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/files.h"

namespace testing_support {
namespace {

void Apply(const char* name, const std::optional<std::string>& value) {
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "puffpop-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    for (const auto& [name, value] : savedEnv_) Apply(name.c_str(), value);
    if (savedShared_) platform::SetSharedTempFolder(*savedShared_);
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::SetEnv(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    if (!savedEnv_.count(name))
        savedEnv_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    Apply(name, value);
}

void TempDir::UseAsTemp() {
    if (!savedShared_) savedShared_ = platform::SharedTempFolder();
    SetEnv("TMPDIR", path_.string() + "/");
    platform::SetSharedTempFolder(path_.string());
}

}  // namespace testing_support
