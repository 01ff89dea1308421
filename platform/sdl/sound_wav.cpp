#include "sound_wav.h"

#include <SDL.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "platform/files.h"

namespace platform {

namespace {

struct Wav {
    SDL_AudioFormat format;
    uint8_t channels;
    int rate;
    std::span<const uint8_t> samples;  // whole frames only
};

uint32_t Little(std::span<const uint8_t> file, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | file[at + static_cast<size_t>(i)];
    return value;
}

// Only what the game's own sound files are: PCM of 8 or 16 bits, 1 or 2 channels, 8,000 to 48,000
// frames a second, every chunk inside the file. Anything else is refused before a byte is
// converted: a WAV at 1 Hz once froze each cue for seconds, and a chunk declared 3.7 GB long in a
// 510-byte file made the loader ask for all of it. Skips "fact", "LIST" and other chunks.
std::optional<Wav> ReadWav(std::span<const uint8_t> file) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    // Bytes past the RIFF length (the game's files carry two) are not part of the sound.
    const uint64_t end = 8 + uint64_t{Little(file, 4, 4)};
    if (end > file.size()) return std::nullopt;
    std::optional<Wav> wav;
    uint32_t frame = 0;
    for (uint64_t at = 12; at + 8 <= end;) {
        const char* id = reinterpret_cast<const char*>(file.data() + at);
        const uint32_t size = Little(file, at + 4, 4);
        const size_t body = static_cast<size_t>(at + 8);
        if (body + uint64_t{size} > end) return std::nullopt;
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (size < 16) return std::nullopt;
            const uint32_t tag = Little(file, body, 2), channels = Little(file, body + 2, 2);
            const uint32_t rate = Little(file, body + 4, 4), bits = Little(file, body + 14, 2);
            frame = channels * bits / 8;
            if (tag != 1 || (bits != 8 && bits != 16) || (channels != 1 && channels != 2) ||
                rate < 8000 || rate > 48000 || Little(file, body + 12, 2) != frame) {
                return std::nullopt;
            }
            wav = Wav{static_cast<SDL_AudioFormat>(bits == 8 ? AUDIO_U8 : AUDIO_S16LSB),
                      static_cast<uint8_t>(channels),
                      static_cast<int>(rate),
                      {}};
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!wav || size < frame) return std::nullopt;
            // Whole frames only; a stray trailing byte is dropped, not an error.
            wav->samples = file.subspan(body, size - size % frame);
            return wav;
        }
        at = body + uint64_t{size} + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

std::vector<uint8_t> Convert(std::span<const uint8_t> file, const SampleFormat& format) {
    const std::optional<Wav> wav = ReadWav(file);
    if (!wav) return {};

    // A one-shot conversion, not an SDL_AudioStream: SDL 2.26's stream keeps about a thousand
    // resampled frames back even after a flush, which cuts the end off every resampled sound.
    SDL_AudioCVT cvt{};
    if (SDL_BuildAudioCVT(&cvt, wav->format, wav->channels, wav->rate, format.encoding,
                          format.channels, format.rate) < 0) {
        return {};
    }
    std::vector<uint8_t> samples(wav->samples.size() * static_cast<size_t>(cvt.len_mult));
    std::copy(wav->samples.begin(), wav->samples.end(), samples.begin());
    cvt.buf = samples.data();
    cvt.len = static_cast<int>(wav->samples.size());
    if (SDL_ConvertAudio(&cvt) != 0) return {};
    samples.resize(static_cast<size_t>(cvt.len_cvt));
    return samples;
}

// What tells one version of a file from another without reading it: any write changes the
// change time, which nobody can set back. The clock behind it moves in steps of a few
// milliseconds, so only a stamp older than a step or two tells for sure.
struct Stamp {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified, changed;
    bool operator==(const Stamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

constexpr time_t kSettledSeconds = 2;

std::optional<Stamp> StampOf(const char* path) {
    struct stat st {};
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool Settled(const Stamp& stamp) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - stamp.changed.tv_sec >= kSettledSeconds;
}

// A file converted lately. The game plays the same few files over and over, and reading and
// converting one (resampling above all) costs far more than a look at its stamp.
struct Converted {
    std::string path;
    Stamp stamp;
    SampleFormat format;
    std::vector<uint8_t> samples;
};

constexpr size_t kConvertedKept = 8;

std::vector<Converted>& Recent() {
    static std::vector<Converted> recent;  // the game's thread alone plays cues
    return recent;
}

}  // namespace

std::vector<uint8_t> LoadWavAs(const char* path, const SampleFormat& format) {
    // Stamped before reading: a file changed meanwhile is read again next time.
    const std::optional<Stamp> stamp = StampOf(path);
    std::vector<Converted>& recent = Recent();
    for (const Converted& c : recent)
        if (stamp && c.stamp == *stamp && c.path == path && c.format.rate == format.rate &&
            c.format.encoding == format.encoding && c.format.channels == format.channels)
            return c.samples;
    std::vector<uint8_t> file;
    std::string why;
    if (ReadFileBytes(path, kMaxAssetFileBytes, file, why) != FileRead::Done) return {};
    std::vector<uint8_t> samples = Convert(file, format);
    if (!stamp || !Settled(*stamp)) return samples;
    if (recent.size() >= kConvertedKept) recent.erase(recent.begin());
    recent.push_back({path, *stamp, format, samples});
    return samples;
}

}  // namespace platform
