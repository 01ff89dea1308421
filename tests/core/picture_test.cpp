// The bitmap reader: every depth, both row orders, trailing padding, and refusal of anything
// broken with the right error.
#include "platform/picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "temp_dir.h"

namespace platform {
namespace {

// A bitmap with the 40-byte header. Pixels, top row first, are palette indices (1, 4, 8 bits) or
// 0xRRGGBB values (24, 32 bits).
std::vector<uint8_t> Bmp(int width, int height, int bits, const std::vector<uint32_t>& pixels,
                         const std::vector<uint32_t>& palette = {}, bool top_down = false,
                         uint32_t header = 40) {
    const uint32_t stride = (width * bits + 31) / 32 * 4, offset = 14 + header + 4 * palette.size();
    std::vector<uint8_t> b = {'B', 'M'};
    auto put = [&](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
    };
    put(offset + stride * height, 4), put(0, 4), put(offset, 4), put(header, 4), put(width, 4);
    put(top_down ? -height : height, 4), put(1, 2), put(bits, 2);
    b.resize(14 + header, 0);  // uncompressed, every palette colour used
    for (uint32_t colour : palette) put(colour, 4);
    for (int i = 0; i < height; ++i) {
        const int y = top_down ? i : height - 1 - i;
        b.resize(b.size() + stride, 0);
        uint8_t* row = &b[b.size() - stride];
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixels[y * width + x];
            if (bits < 8)
                row[x * bits / 8] |= v << (8 - bits - x * bits % 8);
            else
                for (int k = 0; k < bits / 8; ++k) row[x * bits / 8 + k] = v >> (8 * k);
        }
    }
    return b;
}

class PictureTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = (dir_.Path() / name).string();
        std::ofstream(path, std::ios::binary) << std::string(bytes.begin(), bytes.end());
        return path;
    }
    testing_support::TempDir dir_;
};

// Loading must fail with this error, its message naming the file.
void ExpectError(const std::string& path, int number) {
    using namespace testing;
    EXPECT_THAT([&] { LoadPicture(path); },
                Throws<RuntimeError>(AllOf(Property(&RuntimeError::Number, number),
                                           Property(&RuntimeError::what, HasSubstr(path)))));
}

TEST_F(PictureTest, EveryDepthInBothRowOrdersAndLongerHeaders) {
    // 11 pixels wide: sub-byte rows cross byte boundaries and end in padding. The 1-bit palette
    // is a mask's; the others have red unlike blue, so swapped channels show.
    // Image editors write V5 headers; the palette follows the header, whatever its size.
    for (int bits : {1, 4, 8, 24, 32})
        for (auto [top_down, header] : {std::pair{false, 40u}, {true, 40u}, {false, 124u}}) {
            SCOPED_TRACE(::testing::Message()
                         << bits << " bits, top down " << top_down << " header " << header);
            std::vector<uint32_t> palette, pixels;
            for (uint32_t i = 0; bits <= 8 && i < (1u << bits); ++i)
                palette.push_back(bits == 1 ? i * 0xFFFFFF : 0x400000 + i * 0x0103);
            for (uint32_t i = 0; i < 33; ++i)
                pixels.push_back(bits <= 8 ? (i * 7 + i / 11) % (1u << bits)
                                           : 0x7F000000 | (i * 0x050709));
            const Picture p = LoadPicture(
                Write("depth.bmp", Bmp(11, 3, bits, pixels, palette, top_down, header)));
            ASSERT_EQ(std::pair(p->Width(), p->Height()), std::pair(11, 3));
            for (int i = 0; i < 33; ++i)
                EXPECT_EQ(p->Pixel(i % 11, i / 11),
                          bits <= 8 ? palette[pixels[i]] : pixels[i] & 0xFFFFFF)
                    << i;
        }
}

TEST_F(PictureTest, MissingAndBrokenFilesRaiseTheirErrors) {
    const std::string missing = (dir_.Path() / "nowhere.bmp").string();
    ExpectError(missing, kFileNotFound);

    auto patched = [](std::vector<uint8_t> b, size_t at, uint32_t value, int size = 4) {
        for (int k = 0; k < size; ++k) b[at + k] = static_cast<uint8_t>(value >> (8 * k));
        return b;
    };
    const std::vector<uint8_t> good = Bmp(7, 5, 24, std::vector<uint32_t>(35, 0x808080));
    const std::vector<uint8_t> paletted =
        Bmp(4, 2, 4, std::vector<uint32_t>(8, 3), std::vector<uint32_t>(16, 0));
    const std::pair<const char*, std::vector<uint8_t>> broken[] = {
        {"empty", {}},
        {"garbage", std::vector<uint8_t>(200, 0xA5)},
        {"truncated", {good.begin(), good.end() - 5}},
        {"compressed", patched(good, 30, 1)},
        {"15-bit", patched(good, 28, 15, 2)},
        {"header-past-end", patched(good, 14, 0xFFFFFFF0)},
        {"zero-width", patched(good, 18, 0)},
        {"min-height", patched(good, 22, 0x80000000)},
        {"too-many-pixels", patched(patched(good, 18, 16000), 22, 16000)},  // each side allowed
        {"offset-past-end", patched(good, 10, 0xFFFFFFFF)},
        {"offset-in-header", patched(good, 10, 20)},
        {"palette-cut", {paletted.begin(), paletted.begin() + 74}},
        {"palette-too-large", patched(paletted, 46, 17)},
    };
    for (const auto& [name, bytes] : broken) {
        ExpectError(Write(name, bytes), kInvalidPicture);
    }
    ExpectError(dir_.Path().string(), kInvalidPicture);
}

}  // namespace
}  // namespace platform
