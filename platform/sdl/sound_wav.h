// Reading a WAV file as samples in the one format the sound device plays.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// A sample format in SDL's numbering, kept as plain numbers so no SDL type leaks out of sound.cpp.
struct SampleFormat {
    int rate;           // frames per second
    uint16_t encoding;  // SDL_AudioFormat
    uint8_t channels;
};

// The file's samples converted to `format`. Empty when the file is missing, is not a WAV SDL can
// decode, cannot be converted, or holds no samples: all of these are silence to the caller.
std::vector<uint8_t> LoadWavAs(const char* path, const SampleFormat& format);

}  // namespace platform
