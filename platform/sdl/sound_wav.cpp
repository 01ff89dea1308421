#include "platform/sdl/sound_wav.h"

#include <SDL.h>

#include <cstring>
#include <limits>
#include <memory>

namespace platform {

std::vector<uint8_t> LoadWavAs(const char* path, const SampleFormat& format) {
    // SDL's reader skips "fact" and "LIST" chunks and ignores bytes past the RIFF length, which
    // is how the game's sound files are laid out.
    SDL_AudioSpec source{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path, &source, &data, &length) == nullptr) return {};
    const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> wav(data, &SDL_FreeWAV);

    // A one-shot conversion, not an SDL_AudioStream: SDL 2.26's stream keeps about a thousand
    // resampled frames back even after a flush, which cuts the end off every resampled sound.
    SDL_AudioCVT cvt{};
    if (SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq, format.encoding,
                          format.channels, format.rate) < 0) {
        return {};
    }
    // Whole frames only; a stray trailing byte is dropped, not an error.
    const Uint32 frame = SDL_AUDIO_BITSIZE(source.format) / 8 * source.channels;
    if (frame == 0) return {};
    length -= length % frame;
    if (length > static_cast<Uint32>(std::numeric_limits<int>::max() / cvt.len_mult)) return {};

    std::vector<uint8_t> samples(static_cast<size_t>(length) * cvt.len_mult);
    std::memcpy(samples.data(), data, length);
    cvt.buf = samples.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0) return {};
    samples.resize(static_cast<size_t>(cvt.len_cvt));
    return samples;
}

}  // namespace platform
