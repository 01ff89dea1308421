// The generated assets: the committed files are exactly what the generator makes, and they keep
// the few facts the game relies on when it reads them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}
Bytes Resource(const std::string& name) {
    return ReadFile(fs::path(PUFFPOP_SOURCE_DIR) / "resources" / name);
}
std::uint32_t U16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
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

// What the picture reader, the blitter and the sound device take for granted: the sheets' sizes
// and depths, masks whose palette runs from black to white, mono sounds of their rates and depths.
TEST(Assetgen, AssetsHaveTheSizesDepthsAndRatesTheGameReadsThemWith) {
    const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t> pictures[] = {
        {"BalEksplozija.bmp", 708, 405, 16}, {"BalEksplozijaM.bmp", 708, 102, 1},
        {"Baloni.bmp", 306, 245, 16},        {"BaloniM.bmp", 306, 62, 1},
        {"Nishan.bmp", 47, 47, 4},           {"Oblaci.bmp", 640, 480, 24}};
    for (const auto& [name, width, height, bits] : pictures) {
        const Bytes f = Resource(name);
        EXPECT_EQ(std::tuple(U32(f, 18), U32(f, 22), U16(f, 28)), std::tuple(width, height, bits))
            << name;
        if (bits > 8) continue;
        EXPECT_EQ(std::pair(U32(f, 54), U32(f, U32(f, 10) - 4)), std::pair(0u, 0xFFFFFFu)) << name;
    }
    const std::tuple<const char*, std::uint32_t, std::uint32_t> sounds[] = {
        {"Eksplozija.wav", 11025, 8}, {"Kraj.wav", 11025, 8},     {"Promasaj.wav", 22050, 8},
        {"PucanjB.wav", 11025, 8},    {"PucanjSB.wav", 22050, 8}, {"Start.wav", 16000, 16}};
    for (const auto& [name, rate, bits] : sounds) {
        const Bytes f = Resource(name);
        EXPECT_EQ(std::string(f.begin() + 8, f.begin() + 16), "WAVEfmt ") << name;
        EXPECT_EQ(std::tuple(U16(f, 22), U32(f, 24), U16(f, 34)), std::tuple(1u, rate, bits))
            << name;
    }
}

}  // namespace
