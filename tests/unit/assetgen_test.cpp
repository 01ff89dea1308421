// The generated assets: reproducible, laid out exactly as the game's catalogue says, drawn
// to the mask convention of the sprite blitter, and accepted by SDL's loaders.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

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
    return at + 4 <= b.size() ? std::string(b.begin() + at, b.begin() + at + 4) : "";
}

// The catalogue stores every file padded to a whole number of words; the padding is zeros.
bool zero_from(const Bytes& b, std::size_t at) {
    return at <= b.size() && std::all_of(b.begin() + at, b.end(), [](auto v) { return v == 0; });
}

// `length` is what the header says the file holds (BMP file length, RIFF length + 8);
// `stored` is the padded size the catalogue fixes.
struct PictureLayout {
    const char* name;
    int width, height, bits;
    std::uint32_t offset, length;
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

struct SoundLayout {
    const char* name;
    std::uint32_t rate, bits, data_length, length;
    bool list;
    std::size_t stored;
};
const SoundLayout kSounds[] = {
    {"Eksplozija.wav", 11025, 8, 6426, 6482, false, 6484},
    {"Kraj.wav", 11025, 8, 4930, 4988, false, 4988},
    {"Promasaj.wav", 22050, 8, 12522, 12612, true, 12612},
    {"PucanjB.wav", 11025, 8, 5830, 5886, false, 5888},
    {"PucanjSB.wav", 22050, 8, 31705, 31764, false, 31764},
    {"Start.wav", 16000, 16, 25776, 25914, true, 25916},
};

int run_assetgen(const std::string& arguments) {
    return std::system(("\"" ASSETGEN_PATH "\" " + arguments + " >/dev/null 2>&1").c_str());
}

TEST(AssetgenOutput, RegeneratesTheCommittedFilesByteForByte) {
    std::string pattern = (fs::temp_directory_path() / "puffpop-assetgen-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    ASSERT_EQ(run_assetgen("\"" + dir.string() + "\""), 0);

    std::set<std::string> expected = {"Puffpop.ico"}, written;
    for (const auto& p : kPictures) expected.insert(p.name);
    for (const auto& s : kSounds) expected.insert(s.name);
    for (const auto& entry : fs::directory_iterator(dir))
        written.insert(entry.path().filename().string());
    EXPECT_EQ(written, expected);
    for (const std::string& name : expected)
        EXPECT_TRUE(read_file(dir / name) == resource(name)) << name << ": rerun assetgen";

    EXPECT_NE(run_assetgen(""), 0) << "no output directory";
    fs::remove_all(dir);
}

TEST(AssetgenFormats, PicturesAreLaidOutAsTheCatalogueSays) {
    for (const PictureLayout& p : kPictures) {
        SCOPED_TRACE(p.name);
        const Bytes f = resource(p.name);
        ASSERT_EQ(f.size(), p.stored);
        EXPECT_EQ(u32(f, 2), p.length);
        EXPECT_EQ(u32(f, 10), p.offset);
        EXPECT_EQ(u32(f, 14), 40u);  // info header size
        EXPECT_EQ(u32(f, 18), static_cast<std::uint32_t>(p.width));
        EXPECT_EQ(u32(f, 22), static_cast<std::uint32_t>(p.height));  // positive: bottom-up
        EXPECT_EQ(u16(f, 28), static_cast<std::uint32_t>(p.bits));
        EXPECT_EQ(u32(f, 30), 0u);  // uncompressed
        EXPECT_EQ(p.offset + (p.width * p.bits + 31) / 32 * 4 * p.height, p.length);
        EXPECT_TRUE(zero_from(f, p.length));
        // The masks rely on index 0 drawing black and the last index white.
        if (p.bits <= 8) {
            EXPECT_EQ(u32(f, 54), 0u);
            EXPECT_EQ(u32(f, p.offset - 4), 0xFFFFFFu);
        }
    }
    // The window icon reader takes the image from the offset in the one directory entry and
    // reads it as 4 bits a pixel; the file's size is checked with the embedded copy.
    EXPECT_EQ(u32(resource("Puffpop.ico"), 18), 22u);
    EXPECT_EQ(u16(resource("Puffpop.ico"), 22 + 14), 4u);
}

TEST(AssetgenFormats, SoundsAreLaidOutAsTheCatalogueSays) {
    for (const SoundLayout& s : kSounds) {
        SCOPED_TRACE(s.name);
        const Bytes f = resource(s.name);
        ASSERT_EQ(f.size(), s.stored);
        EXPECT_EQ(tag(f, 0) + tag(f, 8), "RIFFWAVE");
        EXPECT_EQ(u32(f, 4) + 8, s.length);
        EXPECT_TRUE(zero_from(f, s.length));
        std::vector<std::string> chunks;
        std::size_t at = 12;
        for (; at + 8 <= s.length; at += 8 + u32(f, at + 4) + u32(f, at + 4) % 2) {
            const std::string id = tag(f, at);
            const std::uint32_t length = u32(f, at + 4);
            chunks.push_back(id);
            if (id == "fmt ") {
                EXPECT_EQ(u32(f, at + 12), s.rate);
                EXPECT_EQ(u32(f, at + 16), s.rate * s.bits / 8);  // bytes per second
                EXPECT_EQ(u16(f, at + 22), s.bits);
            } else if (id == "data") {
                EXPECT_EQ(length, s.data_length);
                EXPECT_TRUE(length % 2 == 0 || f.at(at + 8 + length) == 0) << "pad byte";
            }
        }
        EXPECT_EQ(at, s.length) << "the chunks fill the RIFF length exactly";
        std::vector<std::string> order = {"fmt ", "fact", "data"};
        if (s.list) order.insert(order.begin() + 2, "LIST");
        EXPECT_EQ(chunks, order);
    }
}

// A sheet of sprite cells in a one-pixel grid. The blitter ANDs in the mask cell (black is the
// shape), then ORs in the colour cell: whatever colour lies outside the mask shows on the sky.
struct Sheet {
    Bytes colour, mask;
    int cell, columns, colour_rows, mask_row;

    // Pixel (x, y), y from the top: a palette index, or a 5-5-5 value for 16 bits.
    static std::uint32_t pixel(const Bytes& f, int x, int y) {
        const int bits = static_cast<int>(u16(f, 28)), height = static_cast<int>(u32(f, 22));
        const std::size_t stride = (u32(f, 18) * bits + 31) / 32 * 4;
        const std::size_t row = u32(f, 10) + stride * static_cast<std::size_t>(height - 1 - y);
        if (bits == 16) return u16(f, row + 2 * x);
        const int per_byte = 8 / bits, shift = (per_byte - 1 - x % per_byte) * bits;
        return f.at(row + x / per_byte) >> shift & ((1 << bits) - 1);
    }
    std::uint32_t at(const Bytes& f, int column, int row, int x, int y) const {
        return pixel(f, (cell + 1) * (column - 1) + 1 + x, (cell + 1) * row + 1 + y);
    }
    int opaque_count(int column) const {
        int n = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) n += at(mask, column, mask_row, x, y) == 0;
        return n;
    }
};

Sheet balloons() {
    return {resource("Baloni.bmp"), resource("BaloniM.bmp"), 60, 5, 4, 0};
}
Sheet bursts() {
    return {resource("BalEksplozija.bmp"), resource("BalEksplozijaM.bmp"), 100, 7, 4, 0};
}

// One mask per column serves every colour row (kind) of that column, so each row is checked
// against it: outside the shape no channel may pass a third of full intensity.
TEST(AssetgenSprites, ColourOutsideTheSharedMasksIsAtMostAThirdBright) {
    // The crosshair is its own mask: colour in row 0, mask in row 1, 16 colours.
    const Sheet crosshair{resource("Nishan.bmp"), resource("Nishan.bmp"), 22, 2, 1, 1};
    for (const Sheet& s : {balloons(), bursts(), crosshair}) {
        const bool indexed = u16(s.colour, 28) == 4;
        for (int column = 1; column <= s.columns; ++column)
            for (int y = 0; y < s.cell; ++y)
                for (int x = 0; x < s.cell; ++x) {
                    const std::uint32_t m = s.at(s.mask, column, s.mask_row, x, y);
                    ASSERT_TRUE(m == 0 || m == (1u << u16(s.mask, 28)) - 1) << "mask " << m;
                    if (m == 0) continue;  // inside the shape
                    for (int row = 0; row < s.colour_rows; ++row) {
                        const std::uint32_t v = s.at(s.colour, column, row, x, y);
                        ASSERT_TRUE(indexed ? v == 0
                                            : (v >> 10 & 31) <= 10 && (v >> 5 & 31) <= 10 &&
                                                  (v & 31) <= 10)
                            << "cell " << column << "," << row << " at " << x << "," << y;
                    }
                }
    }
}

// An all-black mask would pass the rule above but blit square balloons.
TEST(AssetgenSprites, BalloonsAreSolidAndTheLastBurstStageIsAlmostEmpty) {
    const Sheet sheet = balloons(), burst = bursts();
    for (int column = 1; column <= sheet.columns; ++column) {
        EXPECT_GT(sheet.opaque_count(column), 60 * 60 / 4) << column;
        EXPECT_LT(sheet.opaque_count(column), 60 * 60 / 2) << column;
    }
    EXPECT_GT(burst.opaque_count(1), 1000);
    EXPECT_GT(burst.opaque_count(7), 0);
    EXPECT_LT(burst.opaque_count(7), 30);
}

// SDL reads the files as the game does, trailing word padding and all.
TEST(AssetgenSdl, LoadsEveryPictureAndSound) {
    for (const PictureLayout& p : kPictures) {
        SCOPED_TRACE(p.name);
        Bytes f = resource(p.name);
        SDL_Surface* s =
            SDL_LoadBMP_RW(SDL_RWFromConstMem(f.data(), static_cast<int>(f.size())), 1);
        ASSERT_NE(s, nullptr) << SDL_GetError();
        EXPECT_EQ(std::pair(s->w, s->h), std::pair(p.width, p.height));
        SDL_FreeSurface(s);
    }
    for (const SoundLayout& w : kSounds) {
        SCOPED_TRACE(w.name);
        Bytes f = resource(w.name);
        SDL_AudioSpec audio{};
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV_RW(SDL_RWFromConstMem(f.data(), static_cast<int>(f.size())), 1,
                                 &audio, &buffer, &length),
                  nullptr)
            << SDL_GetError();
        EXPECT_EQ(audio.freq, static_cast<int>(w.rate));
        EXPECT_EQ(audio.format, w.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB);
        EXPECT_EQ(audio.channels, 1);
        EXPECT_EQ(length, w.data_length);
        SDL_FreeWAV(buffer);
    }
}

}  // namespace
