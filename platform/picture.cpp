// A small reader for uncompressed Windows bitmaps. Every offset and size comes from the file,
// so each one is checked against the bytes actually read before it is used.
#include "picture.h"

#include <vector>

#include "error.h"
#include "files.h"

namespace platform {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMinInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
// Far beyond any picture of the game, small enough that a hostile header cannot make us
// allocate gigabytes: 16384 x 16384 pixels of 4 bytes is 1 GiB, so stop at a quarter of that.
constexpr int64_t kMaxDimension = 16384;
constexpr int64_t kMaxPixels = int64_t{1} << 26;

[[noreturn]] void Invalid(const std::string& path, const std::string& reason) {
    throw RuntimeError(kInvalidPicture, "Invalid picture: '" + path + "' (" + reason + ")");
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string why;
    switch (ReadFileBytes(path, kMaxAssetFileBytes, bytes, why)) {
        case FileRead::Missing:
            throw RuntimeError(kFileNotFound, "File not found: '" + path + "'");
        case FileRead::Failed:
            Invalid(path, why);
        case FileRead::Done:
            break;
    }
    return bytes;
}

uint16_t U16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t U32(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// 5-bit channel to 8 bits by bit replication: 0 stays 0, 31 becomes 255.
constexpr uint32_t Expand5(uint32_t v) {
    return (v << 3) | (v >> 2);
}

void ConvertRow(const uint8_t* in, uint32_t* out, int width, int bits, const uint32_t* palette) {
    switch (bits) {
        case 1:
            for (int x = 0; x < width; ++x) out[x] = palette[(in[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < width; ++x)
                out[x] = palette[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
            break;
        case 8:
            for (int x = 0; x < width; ++x) out[x] = palette[in[x]];
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                const uint32_t v = static_cast<uint32_t>(in[2 * x] | (in[2 * x + 1] << 8));
                out[x] = (Expand5((v >> 10) & 31) << 16) | (Expand5((v >> 5) & 31) << 8) |
                         Expand5(v & 31);
            }
            break;
        case 24:
            for (int x = 0; x < width; ++x)
                out[x] = (static_cast<uint32_t>(in[3 * x + 2]) << 16) |
                         (static_cast<uint32_t>(in[3 * x + 1]) << 8) | in[3 * x];
            break;
        default:  // 32: B, G, R and an unused byte
            for (int x = 0; x < width; ++x)
                out[x] = (static_cast<uint32_t>(in[4 * x + 2]) << 16) |
                         (static_cast<uint32_t>(in[4 * x + 1]) << 8) | in[4 * x];
            break;
    }
}

}  // namespace

Picture LoadPicture(const std::string& path) {
    return DecodePicture(path, ReadWholeFile(path));
}

Picture DecodePicture(const std::string& path, std::span<const uint8_t> file) {
    const size_t size = file.size();

    if (size < kFileHeaderSize + kMinInfoHeaderSize) Invalid(path, "file too short");
    if (file[0] != 'B' || file[1] != 'M') Invalid(path, "not a bitmap");
    const uint32_t data_offset = U32(file, 10);
    const uint32_t info_size = U32(file, 14);
    if (info_size < kMinInfoHeaderSize) Invalid(path, "unsupported header");
    if (info_size > size - kFileHeaderSize) Invalid(path, "truncated header");

    const int64_t width = static_cast<int32_t>(U32(file, 18));
    const int64_t signed_height = static_cast<int32_t>(U32(file, 22));
    const uint16_t planes = U16(file, 26);
    const int bits = U16(file, 28);
    const uint32_t compression = U32(file, 30);
    const uint32_t colours_used = U32(file, 46);

    if (planes != 1) Invalid(path, "unsupported plane count");
    if (compression != kBiRgb) Invalid(path, "compressed or unsupported encoding");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Invalid(path, "unsupported bits per pixel");
    const bool top_down = signed_height < 0;
    const int64_t height = top_down ? -signed_height : signed_height;
    if (width <= 0 || height <= 0) Invalid(path, "empty or negative size");
    if (width > kMaxDimension || height > kMaxDimension || width * height > kMaxPixels)
        Invalid(path, "picture too large");

    // Paletted pictures: an index past the palette's end reads black, as GDI shows it.
    uint32_t palette[256] = {};
    if (bits <= 8) {
        const uint64_t max_colours = uint64_t{1} << bits;
        const uint64_t colours = colours_used == 0 ? max_colours : colours_used;
        if (colours > max_colours) Invalid(path, "palette too large");
        const uint64_t palette_at = kFileHeaderSize + uint64_t{info_size};
        if (palette_at + colours * 4 > size) Invalid(path, "truncated palette");
        for (uint64_t i = 0; i < colours; ++i) {
            const size_t at = static_cast<size_t>(palette_at + i * 4);
            palette[i] = (static_cast<uint32_t>(file[at + 2]) << 16) |
                         (static_cast<uint32_t>(file[at + 1]) << 8) | file[at];
        }
    }

    // Rows are padded to whole 32-bit words; the last row's padding may be missing.
    const uint64_t row_bytes = (static_cast<uint64_t>(width) * bits + 7) / 8;
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (data_offset < kFileHeaderSize + info_size) Invalid(path, "pixel data inside the header");
    const uint64_t data_end =
        uint64_t{data_offset} + stride * static_cast<uint64_t>(height - 1) + row_bytes;
    if (data_end > size) Invalid(path, "truncated pixel data");

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    auto surface = std::make_shared<Surface>(w, h);
    for (int row = 0; row < h; ++row) {
        const uint8_t* in = file.data() + data_offset + stride * static_cast<uint64_t>(row);
        ConvertRow(in, surface->Row(top_down ? row : h - 1 - row), w, bits, palette);
    }
    return surface;
}

}  // namespace platform
