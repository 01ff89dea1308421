// A fresh private directory, removed again when the object dies, as are the changes made through
// it to the environment.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "startup/program.h"
#ifdef _WIN32
namespace platform::win32 {  // from the Windows host's own header, which brings <windows.h>
const std::string& SharedTempFolder();
void SetSharedTempFolder(std::string folder);
}  // namespace platform::win32
#else
#include "platform/sdl/temp_folder.h"
#endif

namespace testing_support {

#ifdef _WIN32
using platform::win32::SetSharedTempFolder;
using platform::win32::SharedTempFolder;
#else
using platform::SetSharedTempFolder;
using platform::SharedTempFolder;
#endif

class TempDir {
public:
    TempDir() {
        startup::IdentifyProgram();  // the program's name is in the paths under test
        std::random_device random;
        for (int attempt = 0; path_.empty(); ++attempt) {
            const auto path = std::filesystem::temp_directory_path() /
                              ("puffpop-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(path)) path_ = path;
            if (attempt > 100) throw std::runtime_error("no fresh temporary directory");
        }
    }
    ~TempDir() {
        for (const auto& [name, value] : savedEnv_) Apply(name.c_str(), value);
        if (savedShared_) SetSharedTempFolder(*savedShared_);
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Points TMPDIR here (with a trailing slash), and the folder every user shares (which holds
    // the one-copy lock).
    void UseAsTemp() {
        if (!savedShared_) savedShared_ = SharedTempFolder();
        SetEnv("TMPDIR", path_.string() + "/");
        SetEnv("TMP", path_.string() + "/");  // where Windows looks first
        SetSharedTempFolder(path_.string());
    }
    // Sets an environment variable, or unsets it given no value.
    void SetEnv(const char* name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name);  // the first value is the one put back
        savedEnv_.emplace(name, old ? std::make_optional<std::string>(old) : std::nullopt);
        Apply(name, value);
    }

private:
    static void Apply(const char* name, const std::optional<std::string>& value) {
#ifdef _WIN32
        _putenv_s(name, value ? value->c_str() : "");
#else
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
#endif
    }
    std::filesystem::path path_;
    std::map<std::string, std::optional<std::string>> savedEnv_;
    std::optional<std::string> savedShared_;
};

}  // namespace testing_support
