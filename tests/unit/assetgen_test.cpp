// The generated assets: reproducible, laid out exactly as the game's catalogue says, drawn
// to the mask convention of the sprite blitter, and accepted by SDL's loaders.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

const char* const kAllFiles[] = {
    "BalEksplozija.bmp", "BalEksplozijaM.bmp", "Baloni.bmp", "BaloniM.bmp",  "Nishan.bmp",
    "Oblaci.bmp",        "Eksplozija.wav",     "Kraj.wav",   "Promasaj.wav", "PucanjB.wav",
    "PucanjSB.wav",      "Start.wav",          "Puffpop.ico"};

Bytes read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes resource(const std::string& name) {
    return read_file(fs::path(PUFFPOP_SOURCE_DIR) / "resources" / name);
}

std::uint32_t u16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t u32(const Bytes& b, std::size_t at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}
std::string tag(const Bytes& b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

bool zero_from(const Bytes& b, std::size_t at) {
    for (std::size_t i = at; i < b.size(); ++i)
        if (b[i] != 0) return false;
    return true;
}

// A parsed bitmap: pixel(x, y) with y from the top; indices for palette pictures, 0x7FFF
// 5-5-5 values for 16-bit and 0xRRGGBB for 24-bit.
struct Bitmap {
    Bytes file;
    int width = 0, height = 0, bits = 0;
    std::uint32_t offset = 0;
    std::size_t stride() const { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }
    std::uint32_t pixel(int x, int y) const {
        const std::size_t row = offset + stride() * static_cast<std::size_t>(height - 1 - y);
        switch (bits) {
            case 1:
                return file.at(row + x / 8) >> (7 - x % 8) & 1;
            case 4:
                return file.at(row + x / 2) >> (x % 2 ? 0 : 4) & 15;
            case 16:
                return u16(file, row + 2 * x);
            default:
                return file.at(row + 3 * x + 2) << 16 | file.at(row + 3 * x + 1) << 8 |
                       file.at(row + 3 * x);
        }
    }
    std::array<std::uint32_t, 3> palette_entry(int i) const {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(i);
        return {file.at(at + 2), file.at(at + 1), file.at(at)};
    }
};

Bitmap load_bitmap(const std::string& name) {
    Bitmap b;
    b.file = resource(name);
    b.offset = u32(b.file, 10);
    b.width = static_cast<int>(u32(b.file, 18));
    b.height = static_cast<int>(u32(b.file, 22));
    b.bits = static_cast<int>(u16(b.file, 28));
    return b;
}

// ---------------------------------------------------------------------------------------------
TEST(AssetgenOutput, RegeneratesTheCommittedFilesByteForByte) {
    std::string pattern = (fs::temp_directory_path() / "puffpop-assetgen-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    const std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, std::set<std::string>(std::begin(kAllFiles), std::end(kAllFiles)));
    for (const char* name : kAllFiles) {
        const Bytes fresh = read_file(dir / name);
        EXPECT_FALSE(fresh.empty()) << name;
        EXPECT_TRUE(fresh == resource(name)) << name << " differs from resources/; rerun assetgen";
    }
    fs::remove_all(dir);
}

TEST(AssetgenOutput, RejectsAMissingOutputDirectoryArgument) {
    const std::string command = std::string("\"") + ASSETGEN_PATH + "\" >/dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
}

// ---------------------------------------------------------------------------------------------
struct PictureLayout {
    const char* name;
    int width, height, bits;
    std::uint32_t offset, header_length;
    std::size_t stored;
};

const PictureLayout kPictures[] = {
    {"BalEksplozija.bmp", 708, 405, 16, 54, 573534, 573536},
    {"BalEksplozijaM.bmp", 708, 102, 1, 62, 9446, 9448},
    {"Baloni.bmp", 306, 245, 16, 54, 149994, 149996},
    {"BaloniM.bmp", 306, 62, 1, 62, 2542, 2544},
    {"Nishan.bmp", 47, 47, 4, 118, 1246, 1248},
    {"Oblaci.bmp", 640, 480, 24, 54, 921654, 921656},
};

TEST(AssetgenPictures, HeadersMatchTheCatalogue) {
    for (const PictureLayout& p : kPictures) {
        SCOPED_TRACE(p.name);
        const Bitmap b = load_bitmap(p.name);
        ASSERT_EQ(b.file.size(), p.stored);
        EXPECT_EQ(tag(b.file, 0).substr(0, 2), "BM");
        EXPECT_EQ(u32(b.file, 2), p.header_length);
        EXPECT_EQ(u32(b.file, 6), 0u);
        EXPECT_EQ(b.offset, p.offset);
        EXPECT_EQ(u32(b.file, 14), 40u);
        EXPECT_EQ(b.width, p.width);
        EXPECT_EQ(b.height, p.height);  // positive: bottom-up rows
        EXPECT_EQ(u16(b.file, 26), 1u);
        EXPECT_EQ(b.bits, p.bits);
        EXPECT_EQ(u32(b.file, 30), 0u);  // uncompressed
        EXPECT_EQ(u32(b.file, 46), 0u);  // colours used
        EXPECT_EQ(b.offset + b.stride() * p.height, p.header_length);
        EXPECT_TRUE(zero_from(b.file, p.header_length)) << "padding must be zero";
    }
}

TEST(AssetgenPictures, PalettesAreBlackWhiteOrTheWindowsSixteen) {
    for (const char* mask : {"BaloniM.bmp", "BalEksplozijaM.bmp"}) {
        const Bitmap b = load_bitmap(mask);
        EXPECT_EQ(b.palette_entry(0), (std::array<std::uint32_t, 3>{0, 0, 0})) << mask;
        EXPECT_EQ(b.palette_entry(1), (std::array<std::uint32_t, 3>{255, 255, 255})) << mask;
    }
    const std::array<std::uint32_t, 3> windows16[16] = {
        {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    const Bitmap crosshair = load_bitmap("Nishan.bmp");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(crosshair.palette_entry(i), windows16[i]) << "entry " << i;
}

// ---------------------------------------------------------------------------------------------
// A sheet of sprite cells and where its masks are: the blitter clears with the mask, then ORs
// the colour cell in.
struct SheetView {
    const Bitmap* colour;
    const Bitmap* mask;
    int cell_w, cell_h, columns, rows, mask_row;
    int left(int column) const { return (cell_w + 1) * (column - 1) + 1; }
    int top(int row) const { return (cell_h + 1) * row + 1; }
    bool opaque(int column, int x, int y) const {
        return mask->pixel(left(column) + x, top(mask_row) + y) == 0;
    }
    // A colour cell pixel may show outside the mask only if it is at most a third bright.
    bool faint(int column, int row, int x, int y) const {
        const std::uint32_t v = colour->pixel(left(column) + x, top(row) + y);
        if (colour->bits == 4) return v == 0;
        return (v >> 10 & 31) <= 10 && (v >> 5 & 31) <= 10 && (v & 31) <= 10;
    }
    int opaque_count(int column) const {
        int n = 0;
        for (int y = 0; y < cell_h; ++y)
            for (int x = 0; x < cell_w; ++x) n += opaque(column, x, y);
        return n;
    }
};

void expect_mask_convention(const SheetView& s, int first_colour_row, int colour_rows) {
    for (int column = 1; column <= s.columns; ++column) {
        for (int row = first_colour_row; row < first_colour_row + colour_rows; ++row)
            for (int y = 0; y < s.cell_h; ++y)
                for (int x = 0; x < s.cell_w; ++x) {
                    if (s.opaque(column, x, y)) continue;
                    ASSERT_TRUE(s.faint(column, row, x, y))
                        << "column " << column << " row " << row << " at " << x << "," << y;
                    if (s.colour->pixel(s.left(column) + x, s.top(row) + y) == 0) continue;
                    // Any colour left outside the shape is the thin rim right next to it.
                    bool beside_shape = false;
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx) {
                            const int nx = x + dx, ny = y + dy;
                            if (nx >= 0 && ny >= 0 && nx < s.cell_w && ny < s.cell_h &&
                                s.opaque(column, nx, ny))
                                beside_shape = true;
                        }
                    EXPECT_TRUE(beside_shape) << "stray colour in column " << column << " row "
                                              << row << " at " << x << "," << y;
                }
    }
}

// The mask sheets keep their gutters white, so an off-by-one blit never punches a hole.
void expect_white_gutters(const SheetView& s) {
    for (int y = 0; y < s.mask->height; ++y)
        for (int column = 0; column <= s.columns; ++column)
            ASSERT_EQ(s.mask->pixel(column * (s.cell_w + 1), y), 1u)
                << "gutter x " << column * (s.cell_w + 1);
    for (int x = 0; x < s.mask->width; ++x) {
        ASSERT_EQ(s.mask->pixel(x, 0), 1u);
        ASSERT_EQ(s.mask->pixel(x, s.cell_h + 1), 1u);
    }
}

class AssetgenSprites : public ::testing::Test {
protected:
    Bitmap balloons = load_bitmap("Baloni.bmp");
    Bitmap balloon_masks = load_bitmap("BaloniM.bmp");
    Bitmap bursts = load_bitmap("BalEksplozija.bmp");
    Bitmap burst_masks = load_bitmap("BalEksplozijaM.bmp");
    Bitmap crosshair = load_bitmap("Nishan.bmp");
    SheetView balloon_sheet{&balloons, &balloon_masks, 60, 60, 5, 4, 0};
    SheetView burst_sheet{&bursts, &burst_masks, 100, 100, 7, 4, 0};
    SheetView crosshair_sheet{&crosshair, &crosshair, 22, 22, 2, 1, 1};
};

TEST_F(AssetgenSprites, ColourIsOnlyAFaintRimOutsideTheMasks) {
    expect_mask_convention(balloon_sheet, 0, 4);
    expect_mask_convention(burst_sheet, 0, 4);
    expect_mask_convention(crosshair_sheet, 0, 1);
    expect_white_gutters(balloon_sheet);
    expect_white_gutters(burst_sheet);
}

TEST_F(AssetgenSprites, BalloonsAreSolidSwayingAndInTheirRowColours) {
    for (int column = 1; column <= 5; ++column) {
        const int area = balloon_sheet.opaque_count(column);
        EXPECT_GT(area, 3600 / 4) << column;
        EXPECT_LT(area, 3600 / 2) << column;
        if (column > 1) {
            bool differs = false;
            for (int y = 0; y < 60 && !differs; ++y)
                for (int x = 0; x < 60 && !differs; ++x)
                    differs = balloon_sheet.opaque(column, x, y) !=
                              balloon_sheet.opaque(column - 1, x, y);
            EXPECT_TRUE(differs) << "pose " << column << " repeats pose " << column - 1;
        }
    }
    // Rows in kind order: red, blue, orange, magenta (mean colour of the opaque pixels).
    for (int row = 0; row < 4; ++row) {
        long r = 0, g = 0, b = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (balloon_sheet.opaque(3, x, y)) {
                    const std::uint32_t v =
                        balloons.pixel(balloon_sheet.left(3) + x, balloon_sheet.top(row) + y);
                    r += v >> 10 & 31;
                    g += v >> 5 & 31;
                    b += v & 31;
                }
        const bool looks_right[4] = {r > 2 * g && r > 2 * b, b > 2 * r && b > g, r > g && g > 2 * b,
                                     r > 2 * g && b > 2 * g};
        EXPECT_TRUE(looks_right[row])
            << "row " << row << " mean 5-bit sums " << r << "," << g << "," << b;
    }
}

TEST_F(AssetgenSprites, BurstStartsBigAndEndsInAFewFlecks) {
    int previous = burst_sheet.opaque_count(1);
    EXPECT_GT(previous, 1000);
    for (int stage = 2; stage <= 7; ++stage) {
        const int area = burst_sheet.opaque_count(stage);
        EXPECT_LE(area, previous) << "stage " << stage;
        previous = area;
    }
    EXPECT_GT(previous, 0);
    EXPECT_LT(previous, 30);
}

TEST_F(AssetgenSprites, CrosshairCoversThePointerInBothPictures) {
    for (int column = 1; column <= 2; ++column) {
        EXPECT_TRUE(crosshair_sheet.opaque(column, 11, 11)) << column;
        EXPECT_GT(crosshair_sheet.opaque_count(column), 40) << column;
    }
    EXPECT_GT(crosshair_sheet.opaque_count(2), crosshair_sheet.opaque_count(1))
        << "firing sight should look bigger";
}

// ---------------------------------------------------------------------------------------------
struct SoundLayout {
    const char* name;
    std::uint32_t rate, bits, fmt_length, data_length, riff_length_plus_8, list_length;
    std::size_t stored;
};

const SoundLayout kSounds[] = {
    {"Eksplozija.wav", 11025, 8, 16, 6426, 6482, 0, 6484},
    {"Kraj.wav", 11025, 8, 18, 4930, 4988, 0, 4988},
    {"Promasaj.wav", 22050, 8, 18, 12522, 12612, 32, 12612},
    {"PucanjB.wav", 11025, 8, 16, 5830, 5886, 0, 5888},
    {"PucanjSB.wav", 22050, 8, 18, 31705, 31764, 0, 31764},
    {"Start.wav", 16000, 16, 16, 25776, 25914, 82, 25916},
};

TEST(AssetgenSounds, ChunksMatchTheCatalogue) {
    for (const SoundLayout& s : kSounds) {
        SCOPED_TRACE(s.name);
        const Bytes f = resource(s.name);
        ASSERT_EQ(f.size(), s.stored);
        EXPECT_EQ(tag(f, 0), "RIFF");
        EXPECT_EQ(u32(f, 4) + 8, s.riff_length_plus_8);
        EXPECT_EQ(tag(f, 8), "WAVE");
        EXPECT_TRUE(zero_from(f, s.riff_length_plus_8));

        std::vector<std::string> order;
        std::size_t at = 12;
        while (at + 8 <= s.riff_length_plus_8) {
            const std::string id = tag(f, at);
            const std::uint32_t len = u32(f, at + 4);
            const std::size_t body = at + 8;
            order.push_back(id);
            if (id == "fmt ") {
                EXPECT_EQ(len, s.fmt_length);
                EXPECT_EQ(u16(f, body), 1u);  // PCM
                EXPECT_EQ(u16(f, body + 2), 1u);
                EXPECT_EQ(u32(f, body + 4), s.rate);
                EXPECT_EQ(u32(f, body + 8), s.rate * s.bits / 8);
                EXPECT_EQ(u16(f, body + 12), s.bits / 8);
                EXPECT_EQ(u16(f, body + 14), s.bits);
                if (len == 18) {
                    EXPECT_EQ(u16(f, body + 16), 0u);
                }
            } else if (id == "fact") {
                EXPECT_EQ(len, 4u);
                EXPECT_EQ(u32(f, body), s.data_length / (s.bits / 8));
            } else if (id == "LIST") {
                EXPECT_EQ(len + 8, s.list_length);
                EXPECT_EQ(tag(f, body), "INFO");
                // Each INFO entry is zero-terminated text and the entries fill the list exactly.
                std::size_t entry = body + 4;
                while (entry + 8 <= body + len) {
                    const std::uint32_t text = u32(f, entry + 4);
                    ASSERT_GT(text, 0u);
                    EXPECT_EQ(f.at(entry + 8 + text - 1), 0) << tag(f, entry);
                    entry += 8 + text + text % 2;
                }
                EXPECT_EQ(entry, body + len);
            } else if (id == "data") {
                EXPECT_EQ(len, s.data_length);
                if (len % 2) {
                    EXPECT_EQ(f.at(body + len), 0) << "pad byte";
                }
            }
            at = body + len + len % 2;
        }
        EXPECT_EQ(at, s.riff_length_plus_8);
        std::vector<std::string> expected = {"fmt ", "fact", "data"};
        if (s.list_length) expected.insert(expected.begin() + 2, "LIST");
        EXPECT_EQ(order, expected);
    }
}

// Each cue starts and ends on silence (no click), stays clear of clipping, and is audible.
TEST(AssetgenSounds, FadeInAndOutWithoutClipping) {
    for (const SoundLayout& s : kSounds) {
        SCOPED_TRACE(s.name);
        const Bytes f = resource(s.name);
        const std::size_t data = s.riff_length_plus_8 - s.data_length - (s.data_length % 2);
        std::vector<int> samples;
        for (std::size_t i = 0; i < s.data_length; i += s.bits / 8)
            samples.push_back(s.bits == 8 ? f[data + i] - 128
                                          : static_cast<std::int16_t>(u16(f, data + i)) / 256);
        int peak = 0;
        for (int v : samples) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 64);
        EXPECT_LT(peak, 127);
        EXPECT_LE(std::abs(samples.front()), 1);
        EXPECT_LE(std::abs(samples.back()), 1);
    }
}

// ---------------------------------------------------------------------------------------------
TEST(AssetgenIcon, OneSixteenColourImageWithItsMask) {
    const Bytes f = resource("Puffpop.ico");
    ASSERT_EQ(f.size(), 6u + 16u + 744u);
    EXPECT_EQ(u16(f, 0), 0u);
    EXPECT_EQ(u16(f, 2), 1u);
    EXPECT_EQ(u16(f, 4), 1u);
    EXPECT_EQ(f[6], 32);
    EXPECT_EQ(f[7], 32);
    EXPECT_EQ(f[8], 16);
    EXPECT_EQ(u16(f, 12), 4u);
    EXPECT_EQ(u32(f, 14), 744u);
    ASSERT_EQ(u32(f, 18), 22u);
    EXPECT_EQ(u32(f, 22), 40u);
    EXPECT_EQ(u32(f, 26), 32u);
    EXPECT_EQ(u32(f, 30), 64u);  // colour and mask halves
    EXPECT_EQ(u16(f, 36), 4u);
    const std::size_t colours = 22 + 40 + 64;
    const std::size_t mask = colours + 512;
    auto transparent = [&](int x, int y) {
        return (f[mask + 4 * (31 - y) + x / 8] >> (7 - x % 8) & 1) == 1;
    };
    auto index = [&](int x, int y) {
        return f[colours + 16 * (31 - y) + x / 2] >> (x % 2 ? 0 : 4) & 15;
    };
    EXPECT_TRUE(transparent(0, 0));
    EXPECT_TRUE(transparent(31, 0));
    EXPECT_FALSE(transparent(16, 12)) << "the balloon's middle";
    EXPECT_EQ(index(16, 12), 9) << "a red balloon";
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (transparent(x, y)) {
                EXPECT_EQ(index(x, y), 0) << x << "," << y;
            }
}

// ---------------------------------------------------------------------------------------------
std::uint32_t be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

std::uint32_t png_crc(const Bytes& b, std::size_t from, std::size_t to) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < to; ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// The desktop icons: valid PNGs (checked chunk by chunk, stored deflate blocks unpacked by
// hand) of a balloon on a transparent ground.
TEST(AssetgenIcon, DesktopPngsAreValidAndTransparentAroundTheBalloon) {
    std::string pattern = (fs::temp_directory_path() / "puffpop-icons-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    const std::string command =
        std::string("\"") + ASSETGEN_PATH + "\" --icons \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (int size : {48, 128, 256}) {
        SCOPED_TRACE(size);
        const Bytes f = read_file(dir / ("puffpop-" + std::to_string(size) + ".png"));
        ASSERT_GT(f.size(), 8u);
        ASSERT_EQ(Bytes(f.begin(), f.begin() + 8),
                  (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
        Bytes zlib;
        std::vector<std::string> chunks;
        for (std::size_t at = 8; at + 12 <= f.size();) {
            const std::uint32_t len = be32(f, at);
            ASSERT_LE(at + 12 + len, f.size());
            chunks.push_back(tag(f, at + 4));
            EXPECT_EQ(be32(f, at + 8 + len), png_crc(f, at + 4, at + 8 + len)) << chunks.back();
            if (chunks.back() == "IHDR") {
                EXPECT_EQ(be32(f, at + 8), static_cast<std::uint32_t>(size));
                EXPECT_EQ(be32(f, at + 12), static_cast<std::uint32_t>(size));
                EXPECT_EQ(f[at + 16], 8);  // bits per channel
                EXPECT_EQ(f[at + 17], 6);  // RGBA
            }
            if (chunks.back() == "IDAT")
                zlib.insert(zlib.end(), f.begin() + at + 8, f.begin() + at + 8 + len);
            at += 12 + len;
        }
        EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        Bytes raw;
        std::size_t at = 2;
        for (bool last = false; !last;) {
            ASSERT_LE(at + 5, zlib.size());
            last = zlib[at] & 1;
            ASSERT_EQ(zlib[at] >> 1 & 3, 0) << "stored blocks only";
            const std::uint32_t len = u16(zlib, at + 1);
            ASSERT_EQ(len ^ u16(zlib, at + 3), 0xFFFFu);
            raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + len);
            at += 5 + len;
        }
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t v : raw) {
            a = (a + v) % 65521;
            b = (b + a) % 65521;
        }
        EXPECT_EQ(be32(zlib, at), b << 16 | a);
        const std::size_t stride = 1 + 4 * static_cast<std::size_t>(size);
        ASSERT_EQ(raw.size(), stride * size);
        auto pixel = [&](int x, int y) { return &raw[stride * y + 1 + 4 * x]; };
        EXPECT_EQ(pixel(0, 0)[3], 0) << "transparent corner";
        const std::uint8_t* middle = pixel(size / 2, size * 2 / 5);
        EXPECT_EQ(middle[3], 255);
        EXPECT_GT(middle[0], 2 * middle[1]) << "red balloon";
    }
    fs::remove_all(dir);
}

// ---------------------------------------------------------------------------------------------
// SDL reads the files as the game does, trailing word padding and all.
TEST(AssetgenSdl, LoadsEveryPictureAndSound) {
    for (const PictureLayout& p : kPictures) {
        Bytes f = resource(p.name);
        SDL_Surface* s =
            SDL_LoadBMP_RW(SDL_RWFromConstMem(f.data(), static_cast<int>(f.size())), 1);
        ASSERT_NE(s, nullptr) << p.name << ": " << SDL_GetError();
        EXPECT_EQ(s->w, p.width) << p.name;
        EXPECT_EQ(s->h, p.height) << p.name;
        SDL_FreeSurface(s);
    }
    for (const SoundLayout& w : kSounds) {
        Bytes f = resource(w.name);
        SDL_AudioSpec audio{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV_RW(SDL_RWFromConstMem(f.data(), static_cast<int>(f.size())), 1,
                                 &audio, &buffer, &length),
                  nullptr)
            << w.name << ": " << SDL_GetError();
        EXPECT_EQ(audio.freq, static_cast<int>(w.rate)) << w.name;
        EXPECT_EQ(audio.format, w.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB) << w.name;
        EXPECT_EQ(audio.channels, 1) << w.name;
        EXPECT_EQ(length, w.data_length) << w.name;
        SDL_FreeWAV(buffer);
    }
}

}  // namespace
