// A test's own directory as the POSIX host's temporary folders: TMPDIR, and the folder every user
// shares (which holds the one-copy lock). Both, and any variable set through it, are put back when
// it dies.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/sdl/temp_folder.h"
#include "temp_dir.h"

namespace testing_support {

class PosixTemp : public TempDir {
public:
    ~PosixTemp() {
        for (const auto& [name, value] : savedEnv_) Apply(name.c_str(), value);
        if (savedShared_) platform::SetSharedTempFolder(*savedShared_);
    }
    void UseAsTemp() {
        if (!savedShared_) savedShared_ = platform::SharedTempFolder();
        SetEnv("TMPDIR", Path().string() + "/");
        platform::SetSharedTempFolder(Path().string());
    }
    // Sets an environment variable, or unsets it given no value.
    void SetEnv(const char* name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name);  // the first value is the one put back
        savedEnv_.emplace(name, old ? std::make_optional<std::string>(old) : std::nullopt);
        Apply(name, value);
    }

private:
    static void Apply(const char* name, const std::optional<std::string>& value) {
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    std::map<std::string, std::optional<std::string>> savedEnv_;
    std::optional<std::string> savedShared_;
};

}  // namespace testing_support
