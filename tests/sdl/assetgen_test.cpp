// The generated assets: the committed files are exactly what the generator makes, with the few
// facts the game's readers take for granted.
#include <gtest/gtest.h>

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
}

uint32_t Le(const Bytes& b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b.at(at + i));
    return v;
}

// The sheets are cut on a grid of their cells; masks draw black from their first palette entry and
// white from their last; every sound is mono PCM at its rate.
TEST(Assetgen, PicturesAndSoundsHaveTheShapesTheGameReadsThemIn) {
    // Name, then width or rate, height or channels, bits.
    for (const auto& [name, width, height, bits] :
         {std::tuple{"BalEksplozija.bmp", 708u, 405u, 16u},
          {"BalEksplozijaM.bmp", 708, 102, 1},
          {"Baloni.bmp", 306, 245, 16},
          {"BaloniM.bmp", 306, 62, 1},
          {"Nishan.bmp", 47, 47, 4},
          {"Oblaci.bmp", 640, 480, 24},
          {"Eksplozija.wav", 11025, 1, 8},
          {"Kraj.wav", 11025, 1, 8},
          {"Promasaj.wav", 22050, 1, 8},
          {"PucanjB.wav", 11025, 1, 8},
          {"PucanjSB.wav", 22050, 1, 8},
          {"Start.wav", 16000, 1, 16}}) {
        SCOPED_TRACE(name);
        const Bytes b = Resource(name);
        const bool bmp = std::string(name).ends_with(".bmp");
        EXPECT_EQ(Le(b, bmp ? 18 : 24, 4), width);
        EXPECT_EQ(Le(b, 22, bmp ? 4 : 2), height);
        EXPECT_EQ(Le(b, bmp ? 28 : 34, 2), bits);
        if (bmp && bits == 1) {
            EXPECT_EQ(std::pair(Le(b, 54, 4), Le(b, 58, 4)), std::pair(0u, 0xFFFFFFu));
        }
    }
}

}  // namespace
