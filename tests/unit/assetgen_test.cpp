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
#include <vector>

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
    std::string pattern = (fs::temp_directory_path() / "puffpop-assetgen-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    ASSERT_EQ(Assetgen("\"" + dir.string() + "\""), 0);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        written.insert(name);
        EXPECT_TRUE(ReadFile(entry.path()) == Resource(name)) << name << ": rerun assetgen";
    }
    EXPECT_EQ(written.size(), 13u) << "six pictures, six sounds and the icon";
    EXPECT_NE(Assetgen(""), 0) << "no output directory";
    fs::remove_all(dir);
}

// What the game's picture reader and blitter take for granted: the sheets' sizes and depths, and
// masks whose first palette entry is black and last is white.
TEST(Assetgen, PicturesHaveTheSizesAndDepthsTheSheetsAreCutFrom) {
    struct Picture {
        const char* name;
        std::uint32_t width, height, bits, stored;
    };
    for (const Picture& p : {Picture{"BalEksplozija.bmp", 708, 405, 16, 573536},
                             {"BalEksplozijaM.bmp", 708, 102, 1, 9448},
                             {"Baloni.bmp", 306, 245, 16, 149996},
                             {"BaloniM.bmp", 306, 62, 1, 2544},
                             {"Nishan.bmp", 47, 47, 4, 1248},
                             {"Oblaci.bmp", 640, 480, 24, 921656}}) {
        SCOPED_TRACE(p.name);
        const Bytes f = Resource(p.name);
        EXPECT_EQ(f.size(), p.stored);
        EXPECT_EQ(U32(f, 18), p.width);
        EXPECT_EQ(U32(f, 22), p.height);
        EXPECT_EQ(U16(f, 28), p.bits);
        if (p.bits > 8) continue;
        EXPECT_EQ(U32(f, 54), 0u);
        EXPECT_EQ(U32(f, U32(f, 10) - 4), 0xFFFFFFu);
    }
}

TEST(Assetgen, SoundsHaveTheirRatesAndDepths) {
    struct Sound {
        const char* name;
        std::uint32_t rate, bits, stored;
    };
    for (const Sound& s : {Sound{"Eksplozija.wav", 11025, 8, 6484},
                           {"Kraj.wav", 11025, 8, 4988},
                           {"Promasaj.wav", 22050, 8, 12612},
                           {"PucanjB.wav", 11025, 8, 5888},
                           {"PucanjSB.wav", 22050, 8, 31764},
                           {"Start.wav", 16000, 16, 25916}}) {
        SCOPED_TRACE(s.name);
        const Bytes f = Resource(s.name);
        EXPECT_EQ(f.size(), s.stored);
        EXPECT_EQ(std::string(f.begin() + 8, f.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(U16(f, 22), 1u) << "mono";
        EXPECT_EQ(U32(f, 24), s.rate);
        EXPECT_EQ(U16(f, 34), s.bits);
    }
}

}  // namespace
