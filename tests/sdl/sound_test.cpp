#include "platform/sdl/sound_device.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/app.h"
#include "platform/constants.h"
#include "platform/host.h"
#include "platform/sound.h"
#include "platform/sdl/sound_watch.h"
#include "platform/sdl/sound_wav.h"
#include "posix_temp.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
    return out;
}

// Mono PCM laid out as the game's sound files are: an 18-byte "fmt " chunk, "fact", a "LIST"
// chunk after the data, and zero padding past the RIFF length.
std::string WriteWav(const fs::path& path, uint32_t rate, uint16_t bits, uint32_t frames) {
    std::string data, body = "WAVE";
    for (uint32_t i = 0; i < frames; ++i) data += Le((i / 20) % 2 ? 0x3060 : 0x50A0, bits / 8);
    // PCM, mono, frame rate, byte rate, block size, bits, no extra bytes
    const std::string fmt = Le(1, 2) + Le(1, 2) + Le(rate, 4) + Le(rate * bits / 8, 4) +
                            Le(bits / 8, 2) + Le(bits, 2) + Le(0, 2);
    for (const auto& [id, bytes] : {std::pair<std::string, std::string>{"fmt ", fmt},
                                    {"fact", Le(frames, 4)},
                                    {"data", data},
                                    {"LIST", std::string("INFOICMT\5\0\0\0test", 17)}})
        body += id + Le(bytes.size(), 4) + bytes + std::string(bytes.size() % 2, '\0');  // padded
    std::ofstream(path, std::ios::binary) << "RIFF" << Le(body.size(), 4) << body << Le(0, 2);
    return path.string();
}

// Each test opens its own device, if any, and closes it again.
class SoundTest : public testing::Test {
protected:
    void SetUp() override { ShutdownSound(); }
    void TearDown() override { ShutdownSound(); }
    std::string Path(const char* name) const { return (dir_.Path() / name).string(); }
    testing_support::PosixTemp dir_;
};

TEST_F(SoundTest, WavFilesLikeTheGamesOwnConvertWholeAndNothingElseWaitsOrFloods) {
    // Resampled to 22,050 Hz 16-bit mono with nothing cut off the end; a file already in that
    // format passes through unchanged.
    const SampleFormat device{22050, AUDIO_S16SYS, 1};
    auto load = [&](int rate, uint16_t bits, uint32_t frames) {
        return LoadWavAs(WriteWav(Path("s.wav"), rate, bits, frames).c_str(), device);
    };
    EXPECT_NEAR(load(11025, 8, 4411).size(), 4411 * 4, 4);
    EXPECT_NEAR(load(16000, 16, 800).size(), 800 * 2 * 22050 / 16000, 4);
    const std::vector<uint8_t> samples = load(22050, 16, 22050);
    ASSERT_EQ(samples.size(), 44100u);
    EXPECT_EQ(samples[0] | samples[1] << 8, 0x50A0);
    EXPECT_EQ(samples[40] | samples[41] << 8, 0x3060);
    // Written over at once with another sound of the same size: the cue is the new one.
    WriteWav(Path("s.wav"), 44100, 8, 44100);
    EXPECT_NE(LoadWavAs(Path("s.wav").c_str(), device), samples);
    WriteWav(Path("s.wav"), 22050, 16, 22050);

    std::ifstream in(Path("s.wav"), std::ios::binary);
    const std::string good(std::istreambuf_iterator<char>(in), {});
    // A value written over the good file: at 1 Hz each cue froze the game for seconds, and a
    // chunk declared 3.7 GB long in a file of a few hundred bytes was allocated whole.
    const size_t fmt = good.find("fmt ") + 8, data = good.find("data") + 4;
    for (const auto& [at, value] : {std::pair{fmt + 4, Le(1, 4)},
                                    {data, Le(0xDD000000, 4)},
                                    {fmt, Le(3, 2)},
                                    {size_t{4}, Le(1 << 20, 4)},
                                    {fmt + 12, Le(4 | 32 << 16, 4)}}) {
        std::ofstream(Path("odd.wav"), std::ios::binary)
            << std::string(good).replace(at, value.size(), value);
        EXPECT_TRUE(LoadWavAs(Path("odd.wav").c_str(), device).empty()) << at;
    }
    // Nothing waits on a FIFO or reads a folder at a cue's name.
    ASSERT_EQ(mkfifo(Path("fifo.wav").c_str(), 0600), 0);
    fs::create_directory(Path("folder.wav"));
    for (const char* name : {"fifo.wav", "folder.wav"})
        EXPECT_TRUE(LoadWavAs(Path(name).c_str(), device).empty()) << name;
}

TEST_F(SoundTest, SilentWithoutADeviceAndWithOneANewSoundCutsOffTheOldAndSynchronousCallsWait) {
    // Without a device every call returns at once: waiting for this 30 s sound would stall.
    const std::string long_sound = WriteWav(Path("long.wav"), 22050, 16, 30 * 22050);
    EXPECT_EQ(sndPlaySoundA(long_sound.c_str(), SND_SYNC | SND_NODEFAULT), 0);
    EXPECT_EQ(sndPlaySoundA(long_sound.c_str(), SND_ASYNC | SND_NODEFAULT), 0);
    EXPECT_EQ(NowPlaying(), "");
    ShutdownSound();  // forgets the missing device
    dir_.SetEnv("SDL_AUDIODRIVER", "dummy");
    std::ofstream(Path("garbage.wav")) << "not a wave file";
    InitVideo();
    host::PrepareSound();  // the cues below find the device opened ahead of them, in the background
    const std::string first = WriteWav(Path("first.wav"), 22050, 16, 22050);   // 44,100 bytes
    const std::string second = WriteWav(Path("second.wav"), 22050, 16, 8000);  // 16,000 bytes

    ASSERT_EQ(sndPlaySoundA(first.c_str(), SND_ASYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(NowPlaying(), first);
    EXPECT_GT(QueuedSoundBytes(), 40000u);
    ASSERT_EQ(sndPlaySoundA(second.c_str(), SND_ASYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(NowPlaying(), second);  // so some of it is queued
    EXPECT_LE(QueuedSoundBytes(), 16000u);

    for (const std::string& silent : {Path("missing.wav"), Path("garbage.wav"), std::string()}) {
        ASSERT_EQ(sndPlaySoundA(first.c_str(), SND_ASYNC), 1);
        EXPECT_EQ(sndPlaySoundA(silent.c_str(), SND_ASYNC | SND_NODEFAULT), 0) << silent;
        EXPECT_EQ(QueuedSoundBytes(), 0u) << silent;
    }

    // Returns once the sound has been heard, not before.
    const std::string start = WriteWav(Path("start.wav"), 16000, 16, 800);  // 0.05 s
    EXPECT_EQ(sndPlaySoundA(start.c_str(), SND_SYNC | SND_NODEFAULT), 1);
    EXPECT_EQ(QueuedSoundBytes(), 0u);
}

TEST(DeviceWatchTest, ALostDeviceIsSoughtEveryFewSecondsAndOnlyAStoppedOrStuckOneIsLost) {
    DeviceWatch none;  // no sound at the start: one try, then quiet for good
    EXPECT_TRUE(none.TimeToOpen(0));
    none.Tried(false, 0);
    EXPECT_FALSE(none.TimeToOpen(600000));

    DeviceWatch watch;
    watch.Tried(true, 0);
    EXPECT_FALSE(watch.Lost(false, 0, 90000));  // idle for long, still there
    watch.Queued(90000);
    EXPECT_FALSE(watch.Lost(false, 40000, 90990));  // just queued
    EXPECT_FALSE(watch.Lost(false, 30000, 91500));  // draining
    EXPECT_FALSE(watch.Lost(false, 30000, 92499));
    EXPECT_TRUE(watch.Lost(false, 30000, 92500));  // a queue that stopped draining
    EXPECT_TRUE(watch.Lost(true, 0, 92500));       // stopped by the driver
    // Tries follow at once, then 2.5, 5, 10, 20, 40, 40 s apart; an open device starts it over,
    // and is sought again no sooner than 2.5 s after it opened.
    int64_t at = 92500;
    EXPECT_TRUE(watch.TimeToOpen(at));
    for (int64_t wait : {2500, 5000, 10000, 20000, 40000, 40000}) {
        watch.Tried(false, at);
        EXPECT_FALSE(watch.TimeToOpen(at + wait - 1)) << wait;
        EXPECT_TRUE(watch.TimeToOpen(at += wait)) << wait;
    }
    watch.Tried(true, at);
    EXPECT_FALSE(watch.TimeToOpen(at + 2499));
    watch.Tried(false, at + 2500);
    EXPECT_TRUE(watch.TimeToOpen(at + 5000));
}

TEST(DeviceWatchTest, ADeviceRestsOnceDrainedPlaysEachCueAtOnceAndRestingIsNeverStuck) {
    DeviceWatch watch;
    watch.Tried(true, 0);
    watch.Queued(1000);
    EXPECT_FALSE(watch.Lost(false, 40000, 1000));
    EXPECT_FALSE(watch.Rests(1000));  // the cue's look un-pauses it
    EXPECT_FALSE(watch.Lost(false, 2000, 1900));
    EXPECT_FALSE(watch.Rests(1900));
    EXPECT_FALSE(watch.Lost(false, 0, 1905));
    EXPECT_TRUE(watch.Rests(1905));  // drained
    // A minute at rest with a queue that never moved is no lost device; it wakes for one look.
    EXPECT_FALSE(watch.Lost(false, 0, 2899));
    EXPECT_TRUE(watch.Rests(2899));
    EXPECT_FALSE(watch.Lost(false, 0, 62000));
    EXPECT_FALSE(watch.Rests(62000));
    EXPECT_FALSE(watch.Lost(false, 0, 62005));
    EXPECT_TRUE(watch.Rests(62005));
    watch.Queued(62500);
    EXPECT_FALSE(watch.Lost(false, 40000, 62500));
    EXPECT_FALSE(watch.Rests(62500));
    EXPECT_TRUE(watch.Lost(true, 40000, 62505));  // the server went while it rested
}

}  // namespace
}  // namespace platform
