// A fresh private directory, removed again when the object dies.
#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "startup/program.h"

namespace testing_support {

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
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace testing_support
