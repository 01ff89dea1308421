#pragma once
// Little-endian byte assembly for the file formats the game reads.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace assetgen {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
public:
    void u8(std::uint32_t v) { out_.push_back(static_cast<std::uint8_t>(v & 0xFFu)); }
    void u16(std::uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        u16(v);
        u16(v >> 16);
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    // Four-character codes ("RIFF", "fmt ", ...) and other raw text.
    void text(std::string_view s) {
        for (char c : s) u8(static_cast<unsigned char>(c));
    }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    void append(const Bytes& b) { out_.insert(out_.end(), b.begin(), b.end()); }
    std::size_t size() const { return out_.size(); }
    Bytes take() { return std::move(out_); }

private:
    Bytes out_;
};

// The game stores each asset rounded up to a whole number of 32-bit words.
inline Bytes pad_to_four(Bytes b) {
    b.resize((b.size() + 3) / 4 * 4, 0);
    return b;
}

}  // namespace assetgen
