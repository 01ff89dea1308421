// The bitmap reader: every depth the game's pictures use (and the other common ones), both row
// orders, trailing padding, and refusal of anything broken with the right error.
#include "platform/picture.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/error.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A tiny bitmap writer: pixels given as palette indices (1, 4, 8 bits) or as raw little-endian
// values of the depth (16: 0RRRRRGGGGGBBBBB, 24 and 32: 0xRRGGBB).
struct Bmp {
    Bmp(int w, int h, int b) : width(w), height(h), bits(b) {}

    int width = 0;
    int height = 0;  // rows as given, top row first
    int bits = 24;
    bool top_down = false;
    std::vector<uint32_t> palette;  // 0xRRGGBB
    std::vector<uint32_t> pixels;   // width * height, top row first
    uint32_t info_size = 40;

    std::vector<uint8_t> Bytes() const {
        const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
        const uint32_t offset = 14 + info_size + 4 * static_cast<uint32_t>(palette.size());
        const uint32_t file_size = offset + static_cast<uint32_t>(stride * height);
        std::vector<uint8_t> b;
        auto u16 = [&](uint32_t v) {
            b.push_back(v & 0xFF);
            b.push_back((v >> 8) & 0xFF);
        };
        auto u32 = [&](uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        b.push_back('B');
        b.push_back('M');
        u32(file_size);
        u32(0);
        u32(offset);
        u32(info_size);
        u32(static_cast<uint32_t>(width));
        u32(static_cast<uint32_t>(top_down ? -height : height));
        u16(1);
        u16(static_cast<uint32_t>(bits));
        u32(0);  // BI_RGB
        u32(static_cast<uint32_t>(stride * height));
        u32(2835);
        u32(2835);
        u32(0);  // colours used: all
        u32(0);
        b.resize(14 + info_size, 0);
        for (uint32_t c : palette) u32(c & 0xFFFFFF);
        for (int i = 0; i < height; ++i) {
            const int row = top_down ? i : height - 1 - i;
            std::vector<uint8_t> line(stride, 0);
            for (int x = 0; x < width; ++x) {
                const uint32_t v = pixels[static_cast<size_t>(row) * width + x];
                switch (bits) {
                    case 1:
                        line[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                        break;
                    case 4:
                        line[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
                        break;
                    case 8:
                        line[x] = static_cast<uint8_t>(v);
                        break;
                    case 16:
                        line[2 * x] = v & 0xFF, line[2 * x + 1] = (v >> 8) & 0xFF;
                        break;
                    default:
                        for (int k = 0; k < bits / 8; ++k)
                            line[(bits / 8) * x + k] = k < 3 ? (v >> (8 * k)) & 0xFF : 0x7F;
                        break;
                }
            }
            b.insert(b.end(), line.begin(), line.end());
        }
        return b;
    }
};

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "puffpop-picture-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Loading must fail with kInvalidPicture and a message naming the file.
    void ExpectInvalid(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = Write(name, bytes);
        try {
            LoadPicture(path);
            ADD_FAILURE() << name << " loaded";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), kInvalidPicture) << e.what();
            EXPECT_NE(std::string(e.what()).find("Invalid picture: '" + path + "' ("),
                      std::string::npos)
                << e.what();
        }
    }

    fs::path dir_;
};

const std::vector<uint32_t> kVga16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                      0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                      0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

TEST_F(PictureTest, SixteenBitChannelsExpandByReplication) {
    // white, black, a mid value (r 16, g 8, b 1), pure red
    Bmp bmp(4, 1, 16);
    bmp.pixels = {0x7FFF, 0x0000, (16u << 10) | (8u << 5) | 1u, 0x7C00};
    const Picture p = LoadPicture(Write("s16.bmp", bmp.Bytes()));
    ASSERT_EQ(p->Width(), 4);
    ASSERT_EQ(p->Height(), 1);
    EXPECT_EQ(p->Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(p->Pixel(1, 0), 0x000000u);
    // 16 -> 10000 100 = 0x84, 8 -> 01000 010 = 0x42, 1 -> 00001 000 = 0x08
    EXPECT_EQ(p->Pixel(2, 0), 0x844208u);
    EXPECT_EQ(p->Pixel(3, 0), 0xFF0000u);
}

TEST_F(PictureTest, SixteenBitTopBitIsIgnored) {
    Bmp bmp(1, 1, 16);
    bmp.pixels = {0xFFFF};
    EXPECT_EQ(LoadPicture(Write("top.bmp", bmp.Bytes()))->Pixel(0, 0), 0xFFFFFFu);
}

TEST_F(PictureTest, OneBitMaskBecomesBlackAndWhite) {
    // 11 pixels wide: crosses a byte boundary, rows padded to 4 bytes.
    Bmp bmp(11, 3, 1);
    bmp.palette = {0x000000, 0xFFFFFF};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x) bmp.pixels.push_back((x + y) % 3 == 0 ? 0 : 1);
    const Picture p = LoadPicture(Write("mask.bmp", bmp.Bytes()));
    ASSERT_EQ(p->Width(), 11);
    ASSERT_EQ(p->Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x)
            EXPECT_EQ(p->Pixel(x, y), (x + y) % 3 == 0 ? 0x000000u : 0xFFFFFFu) << x << "," << y;
}

TEST_F(PictureTest, FourBitGoesThroughItsPalette) {
    Bmp bmp(5, 4, 4);
    bmp.palette = kVga16;
    for (int i = 0; i < 20; ++i) bmp.pixels.push_back(static_cast<uint32_t>(i % 16));
    const Picture p = LoadPicture(Write("p4.bmp", bmp.Bytes()));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(p->Pixel(i % 5, i / 5), kVga16[i % 16]) << i;
}

TEST_F(PictureTest, EightBitGoesThroughItsPalette) {
    Bmp bmp(3, 2, 8);
    for (uint32_t i = 0; i < 256; ++i) bmp.palette.push_back(i * 0x010101u ^ 0x00FF00u);
    bmp.pixels = {0, 1, 2, 253, 254, 255};
    const Picture p = LoadPicture(Write("p8.bmp", bmp.Bytes()));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Pixel(i % 3, i / 3), bmp.palette[bmp.pixels[i]]);
}

TEST_F(PictureTest, TwentyFourBitBottomUpAndTopDown) {
    for (bool top_down : {false, true}) {
        Bmp bmp(3, 2, 24);
        bmp.top_down = top_down;
        bmp.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0xFFFFFF};
        const Picture p = LoadPicture(Write("rgb.bmp", bmp.Bytes()));
        for (int i = 0; i < 6; ++i) EXPECT_EQ(p->Pixel(i % 3, i / 3), bmp.pixels[i]) << i;
    }
}

TEST_F(PictureTest, ThirtyTwoBitIgnoresTheFourthByte) {
    Bmp bmp(2, 2, 32);
    bmp.pixels = {0x010203, 0xFEDCBA, 0x000000, 0xFFFFFF};
    const Picture p = LoadPicture(Write("x32.bmp", bmp.Bytes()));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p->Pixel(i % 2, i / 2), bmp.pixels[i]) << i;
}

TEST_F(PictureTest, LargerInfoHeaderIsAccepted) {
    Bmp bmp(2, 1, 24);
    bmp.info_size = 124;
    bmp.pixels = {0x112233, 0x445566};
    const Picture p = LoadPicture(Write("v5.bmp", bmp.Bytes()));
    EXPECT_EQ(p->Pixel(1, 0), 0x445566u);
}

TEST_F(PictureTest, TrailingZeroPaddingIsAccepted) {
    Bmp bmp(3, 3, 16);
    bmp.pixels.assign(9, 0x7FFF);
    std::vector<uint8_t> bytes = bmp.Bytes();
    bytes.push_back(0);
    bytes.push_back(0);
    const Picture p = LoadPicture(Write("padded.bmp", bytes));
    EXPECT_EQ(p->Pixel(2, 2), 0xFFFFFFu);
}

TEST_F(PictureTest, MissingFileIsFileNotFound) {
    const std::string path = (dir_ / "nowhere.bmp").string();
    try {
        LoadPicture(path);
        FAIL() << "loaded";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), kFileNotFound);
        EXPECT_STREQ(e.what(), ("File not found: '" + path + "'").c_str());
    }
}

TEST_F(PictureTest, DirectoryIsInvalid) {
    try {
        LoadPicture(dir_.string());
        FAIL() << "loaded";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), kInvalidPicture) << e.what();
    }
}

TEST_F(PictureTest, BrokenFilesAreInvalidPictures) {
    Bmp good(7, 5, 24);
    good.pixels.assign(35, 0x808080);
    const std::vector<uint8_t> bytes = good.Bytes();

    ExpectInvalid("empty.bmp", {});
    ExpectInvalid("garbage.bmp", std::vector<uint8_t>(200, 0xA5));
    ExpectInvalid("header-only.bmp", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 54));
    ExpectInvalid("short-header.bmp", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30));
    ExpectInvalid("truncated.bmp", std::vector<uint8_t>(bytes.begin(), bytes.end() - 5));

    auto patched = [&](size_t at, uint32_t value, int size = 4) {
        std::vector<uint8_t> b = bytes;
        for (int k = 0; k < size; ++k) b[at + k] = static_cast<uint8_t>(value >> (8 * k));
        return b;
    };
    ExpectInvalid("rle.bmp", patched(30, 1));                   // compressed
    ExpectInvalid("depth.bmp", patched(28, 15, 2));             // 15 bits per pixel
    ExpectInvalid("planes.bmp", patched(26, 2, 2));             // two planes
    ExpectInvalid("core-header.bmp", patched(14, 12));          // OS/2 header
    ExpectInvalid("huge-header.bmp", patched(14, 0xFFFFFFF0));  // header past the end
    ExpectInvalid("zero-width.bmp", patched(18, 0));
    ExpectInvalid("negative-width.bmp", patched(18, 0xFFFFFFF9));
    ExpectInvalid("zero-height.bmp", patched(22, 0));
    ExpectInvalid("min-height.bmp", patched(22, 0x80000000));
    ExpectInvalid("huge-size.bmp", patched(18, 0x7FFFFFFF));
    ExpectInvalid("wide.bmp", patched(18, 100000));
    ExpectInvalid("tall.bmp", patched(22, 0x40000000));
    std::vector<uint8_t> area = patched(18, 16000);  // each side allowed, the product not
    area[22] = 16000 & 0xFF, area[23] = 16000 >> 8;
    ExpectInvalid("area.bmp", area);
    ExpectInvalid("offset-past-end.bmp", patched(10, 0xFFFFFFFF));
    ExpectInvalid("offset-in-header.bmp", patched(10, 20));

    Bmp paletted(4, 2, 4);
    paletted.palette = kVga16;
    paletted.pixels.assign(8, 3);
    std::vector<uint8_t> p = paletted.Bytes();
    ExpectInvalid("palette-cut.bmp", std::vector<uint8_t>(p.begin(), p.begin() + 54 + 20));
    std::vector<uint8_t> many = p;
    many[46] = 17;  // 17 colours for a 4-bit picture
    ExpectInvalid("palette-large.bmp", many);
}

TEST_F(PictureTest, RandomCorruptionNeverCrashes) {
    // Cheap fuzzing: flip bytes of a valid file and cut it at random; each load either succeeds
    // or raises kInvalidPicture. The sanitizer build checks that no byte outside is read.
    Bmp bmp(9, 6, 4);
    bmp.palette = kVga16;
    for (int i = 0; i < 54; ++i) bmp.pixels.push_back(static_cast<uint32_t>(i % 16));
    const std::vector<uint8_t> base = bmp.Bytes();
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> b = base;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < flips; ++k) b[random() % 60] = static_cast<uint8_t>(random());
        if (random() % 3 == 0) b.resize(random() % b.size());
        const std::string path = Write("fuzz.bmp", b);
        try {
            const Picture p = LoadPicture(path);
            EXPECT_GT(p->Width(), 0);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), kInvalidPicture) << e.what();
        }
    }
}

#ifdef PUFFPOP_SOURCE_DIR
TEST(GamePictures, LoadWithTheirSizesAndMaskColours) {
    // The six pictures of the game as built into it, each ending in two bytes of zero padding.
    struct Expected {
        const char* file;
        int width, height;
        bool mask;
    };
    const Expected pictures[] = {
        {"BalEksplozija.bmp", 708, 405, false}, {"BalEksplozijaM.bmp", 708, 102, true},
        {"Baloni.bmp", 306, 245, false},        {"BaloniM.bmp", 306, 62, true},
        {"Nishan.bmp", 47, 47, false},          {"Oblaci.bmp", 640, 480, false}};
    for (const Expected& e : pictures) {
        SCOPED_TRACE(e.file);
        const Picture p = LoadPicture(std::string(PUFFPOP_SOURCE_DIR) + "/resources/" + e.file);
        ASSERT_EQ(p->Width(), e.width);
        ASSERT_EQ(p->Height(), e.height);
        if (!e.mask) continue;
        int black = 0, white = 0;
        for (int y = 0; y < p->Height(); ++y)
            for (int x = 0; x < p->Width(); ++x) {
                const uint32_t v = p->Pixel(x, y);
                ASSERT_TRUE(v == 0x000000 || v == 0xFFFFFF) << x << "," << y;
                (v == 0 ? black : white)++;
            }
        EXPECT_GT(black, 0);
        EXPECT_GT(white, 0);
    }
}
#endif

}  // namespace
}  // namespace platform
