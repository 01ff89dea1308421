#include "platform/sound.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound_wav.h"

namespace {

namespace fs = std::filesystem;
using platform::NowPlaying;
using platform::QueuedSoundBytes;
using platform::SND_ASYNC;
using platform::SND_NODEFAULT;
using platform::SND_SYNC;
using platform::sndPlaySoundA;

// Mono PCM. With quirks it is laid out as the game's sound files are: an 18-byte "fmt " chunk,
// a "LIST" chunk after the data, and zero padding past the RIFF length. Every file has "fact".
struct Wav {
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint32_t frames = 22050;
    bool quirks = false;
};

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

void Chunk(std::string& out, const char* id, const std::string& body) {
    out += id;
    Put(out, static_cast<uint32_t>(body.size()), 4);
    out += body;
    if (body.size() % 2 != 0) out += '\0';  // odd chunks carry a pad byte
}

std::string WriteWav(const fs::path& path, const Wav& wav) {
    const uint32_t block = wav.bits / 8;
    std::string fmt, fact, data, body = "WAVE";
    // PCM, mono, frame rate, byte rate, block size, bits
    const std::pair<uint32_t, int> fields[] = {
        {1, 2}, {1, 2}, {wav.rate, 4}, {wav.rate * block, 4}, {block, 2}, {wav.bits, 2}};
    for (const auto& [value, bytes] : fields) Put(fmt, value, bytes);
    if (wav.quirks) Put(fmt, 0, 2);  // extra size
    Put(fact, wav.frames, 4);
    for (uint32_t i = 0; i < wav.frames; ++i) Put(data, (i / 20) % 2 ? 0x3060 : 0x50A0, block);
    Chunk(body, "fmt ", fmt);
    Chunk(body, "fact", fact);
    Chunk(body, "data", data);
    if (wav.quirks) Chunk(body, "LIST", std::string("INFOICMT\5\0\0\0test", 17));
    std::string file = "RIFF";
    Put(file, static_cast<uint32_t>(body.size()), 4);
    std::ofstream(path, std::ios::binary)
        << file << body << (wav.quirks ? std::string(2, '\0') : "");
    return path.string();
}

// Switches SDL to another audio driver for one scope, closing the device on both sides.
class ScopedAudioDriver {
public:
    explicit ScopedAudioDriver(const char* driver) {
        if (const char* old = getenv("SDL_AUDIODRIVER")) old_ = old;
        platform::ShutdownSound();
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~ScopedAudioDriver() {
        platform::ShutdownSound();
        old_ ? setenv("SDL_AUDIODRIVER", old_->c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
    }

private:
    std::optional<std::string> old_;
};

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "puffpop-sound-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        std::ofstream(dir_ / "garbage.wav") << "not a wave file";
        platform::ClearSoundRequests();
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

TEST_F(SoundTest, WavFilesConvertWholeToTheDeviceFormat) {
    const platform::SampleFormat device{22050, AUDIO_S16SYS, 1};
    const std::vector<std::pair<Wav, size_t>> cases = {
        {{.rate = 11025, .bits = 8, .frames = 4411, .quirks = true}, 17644},
        {{.rate = 16000, .bits = 16, .frames = 800, .quirks = true}, 2204}};
    for (const auto& [wav, bytes] : cases) {
        const std::string path = WriteWav(dir_ / "sound.wav", wav);
        EXPECT_EQ(platform::LoadWavAs(path.c_str(), device).size(), bytes) << wav.rate;
    }
    // Already in the device format: the samples pass through unchanged.
    const std::vector<uint8_t> samples =
        platform::LoadWavAs(WriteWav(dir_ / "sound.wav", {}).c_str(), device);
    ASSERT_EQ(samples.size(), 44100u);
    EXPECT_EQ(samples[0] | samples[1] << 8, 0x50A0);
    EXPECT_EQ(samples[40] | samples[41] << 8, 0x3060);
    EXPECT_TRUE(platform::LoadWavAs(Path("garbage.wav").c_str(), device).empty());
    EXPECT_TRUE(platform::LoadWavAs(Path("missing.wav").c_str(), device).empty());
}

TEST_F(SoundTest, WithoutAudioDeviceEveryCallIsLoggedSilentAndReturnsAtOnce) {
    ScopedAudioDriver none("none");
    const std::string long_sound = WriteWav(dir_ / "long.wav", {.frames = 30 * 22050});

    // A synchronous call that waited for this 30 s sound would stall the suite.
    EXPECT_EQ(sndPlaySoundA(long_sound.c_str(), SND_SYNC | SND_NODEFAULT), 0);
    EXPECT_EQ(sndPlaySoundA(long_sound.c_str(), SND_ASYNC | SND_NODEFAULT), 0);
    EXPECT_EQ(sndPlaySoundA(Path("missing.wav").c_str(), SND_ASYNC), 0);
    EXPECT_EQ(sndPlaySoundA(nullptr, SND_SYNC), 0);
    EXPECT_EQ(NowPlaying(), "");

    const std::vector<std::pair<std::string, int32_t>> expected = {
        {long_sound, 2}, {long_sound, 3}, {Path("missing.wav"), 1}, {"", 0}};
    ASSERT_EQ(platform::SoundRequests().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(platform::SoundRequests()[i].path, expected[i].first) << i;
        EXPECT_EQ(platform::SoundRequests()[i].flags, expected[i].second) << i;
    }
}

TEST_F(SoundTest, NewSoundCutsOffTheOldAndOneThatCannotPlayLeavesSilence) {
    ScopedAudioDriver dummy("dummy");
    const std::string first = WriteWav(dir_ / "first.wav", {});  // 44,100 bytes queued
    const std::string second = WriteWav(                         // 17,644 bytes queued
        dir_ / "second.wav", {.rate = 11025, .bits = 8, .frames = 4411, .quirks = true});

    ASSERT_EQ(sndPlaySoundA(first.c_str(), SND_ASYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(NowPlaying(), first);
    EXPECT_GT(QueuedSoundBytes(), 40000u);
    ASSERT_EQ(sndPlaySoundA(second.c_str(), SND_ASYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(NowPlaying(), second);
    EXPECT_GT(QueuedSoundBytes(), 0u);
    EXPECT_LE(QueuedSoundBytes(), 17644u);

    for (const std::string& silent : {Path("missing.wav"), Path("garbage.wav"), std::string()}) {
        ASSERT_EQ(sndPlaySoundA(first.c_str(), SND_ASYNC), 1);
        EXPECT_EQ(sndPlaySoundA(silent.c_str(), SND_ASYNC | SND_NODEFAULT), 0) << silent;
        EXPECT_EQ(NowPlaying(), "") << silent;
        EXPECT_EQ(QueuedSoundBytes(), 0u) << silent;
    }
    EXPECT_EQ(platform::SoundRequests().size(), 8u);
}

TEST_F(SoundTest, SynchronousCallReturnsOnceTheSoundHasDrained) {
    ScopedAudioDriver dummy("dummy");
    const std::string start =  // 0.05 s
        WriteWav(dir_ / "start.wav", {.rate = 16000, .bits = 16, .frames = 800, .quirks = true});
    EXPECT_EQ(sndPlaySoundA(start.c_str(), SND_SYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(NowPlaying(), "");
    EXPECT_EQ(QueuedSoundBytes(), 0u);
}

}  // namespace
