// A fresh private directory that is removed again, with TMPDIR pointed at it while it lives.
#pragma once

#include <filesystem>
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
    // the one-copy lock), until the object dies.
    void UseAsTemp();

private:
    std::filesystem::path path_;
    std::string savedTmp_;
    std::string savedShared_;
    bool hadTmp_ = false;
    bool swapped_ = false;
};

}  // namespace testing_support
