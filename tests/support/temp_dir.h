// A fresh private directory, removed again when the object dies, as are the changes made through
// it to the environment.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Points TMPDIR here (with a trailing slash), and the folder every user shares (which holds
    // the one-copy lock).
    void UseAsTemp();
    // Sets an environment variable, or unsets it given no value.
    void SetEnv(const char* name, const std::optional<std::string>& value);

private:
    std::filesystem::path path_;
    std::map<std::string, std::optional<std::string>> savedEnv_;
    std::optional<std::string> savedShared_;
};

}  // namespace testing_support
