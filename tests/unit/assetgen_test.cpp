// The generated assets: the committed files are exactly what the generator makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
Bytes Resource(const std::string& name) {
    return ReadFile(fs::path(PUFFPOP_SOURCE_DIR) / "resources" / name);
}
int Assetgen(const std::string& arguments) {
    return std::system(("\"" ASSETGEN_PATH "\" " + arguments + " >/dev/null 2>&1").c_str());
}

TEST(Assetgen, RegeneratesTheCommittedFilesByteForByte) {
    const testing_support::TempDir dir;
    ASSERT_EQ(Assetgen("\"" + dir.Path().string() + "\""), 0);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        written.insert(name);
        EXPECT_TRUE(ReadFile(entry.path()) == Resource(name)) << name << ": rerun assetgen";
    }
    EXPECT_EQ(written.size(), 13u) << "six pictures, six sounds and the icon";
    EXPECT_NE(Assetgen(""), 0) << "no output directory";
}

}  // namespace
