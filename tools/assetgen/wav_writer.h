#pragma once
// RIFF WAVE files of plain PCM, laid out the way the game's sound files have always been.
#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

namespace assetgen {

struct WavFormat {
    std::uint32_t rate = 11025;
    std::uint16_t bits = 8;            // 8 (unsigned) or 16 (signed), mono
    bool fmt_with_extra_size = false;  // an 18-byte "fmt " chunk ending in a zero extra-size field
};

// One INFO entry of the "LIST" chunk; the text is stored zero-terminated and padded to even length.
struct InfoEntry {
    std::string id;  // four characters, e.g. "INAM"
    std::string text;
};

// "RIFF" "WAVE", then "fmt ", "fact" (sample count), the optional "LIST" "INFO" and "data".
// An odd-length data chunk is followed by the pad byte RIFF demands.
Bytes wav_file(const WavFormat& format, const Bytes& data, const std::vector<InfoEntry>& info = {});

}  // namespace assetgen
