// Sound through winmm's sndPlaySoundW, which already plays one sound at a time and cuts off the
// last. Windows does not say whether a sound is still playing; its WAV header and a steady clock
// do.

#include <chrono>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/files.h"
#include "platform/host.h"
#include "win32_host.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// The game's sounds are a few tens of kilobytes; a header is never searched further than this.
constexpr uint64_t kMaxWavBytes = 64 * 1024 * 1024;

struct Player {
    std::string path;         // the sound last started
    Clock::time_point until;  // when it will have been heard
    uint32_t bytes_per_second = 0;
};

// A machine without a wave-out device is silent on every call. (Wine without a device still says
// an asynchronous sound started.)
bool HasDevice() {
    return win32::Calls().soundDevices() > 0;
}

Player& ThePlayer() {
    static Player player;
    return player;
}

uint32_t Little(const uint8_t* at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | at[i];
    return value;
}

// The byte rate from the "fmt " chunk and the size of the "data" chunk; false when the file is no
// WAV this can read, which leaves its length unknown.
bool WavLength(const std::string& path, uint32_t& bytes_per_second, uint32_t& data_bytes) {
    std::vector<uint8_t> file;
    std::string why;
    if (ReadFileBytes(path, kMaxWavBytes, file, why) != FileRead::Done) return false;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
        std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
        return false;
    }
    bytes_per_second = 0;
    for (size_t at = 12; at + 8 <= file.size();) {
        const uint8_t* chunk = file.data() + at;
        const uint32_t size = Little(chunk + 4, 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && at + 24 <= file.size()) {
            bytes_per_second = Little(chunk + 16, 4);
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            // A cut-off file plays what it holds.
            data_bytes = static_cast<uint32_t>(std::min<uint64_t>(size, file.size() - at - 8));
            return bytes_per_second != 0;
        }
        at += 8 + uint64_t{size} + (size & 1);  // chunks are padded to an even length
    }
    return false;
}

Clock::duration Remaining(const Player& player) {
    const Clock::duration left = player.until - Clock::now();
    return player.path.empty() || left <= Clock::duration::zero() ? Clock::duration::zero() : left;
}

}  // namespace

// Windows loads its sound drivers on the first call into winmm; counting the devices once, off the
// window's thread, spares the first cue that wait.
void host::PrepareSound() {
    static bool prepared = false;
    if (prepared) return;
    prepared = true;
    try {
        std::thread([] { HasDevice(); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the first cue loads the drivers itself.
    }
}

bool host::PlaySoundFile(const std::string& file, int32_t flags) {
    Player& player = ThePlayer();
    player = {};
    if (file.empty() || !HasDevice()) {
        win32::Calls().playSound(nullptr, 0);
        return false;
    }
    // Read before the call: a synchronous sound is over by the time it returns. A file this cannot
    // read is one Windows cannot play either; the call still cuts off the sound playing, as a
    // request always does, and counts as silent.
    uint32_t bytes_per_second = 0, data_bytes = 0;
    const bool known = WavLength(file, bytes_per_second, data_bytes);
    const Clock::time_point start = Clock::now();
    // The wide call: a sound in a folder named outside the system's code page still plays.
    const std::wstring name = win32::Wide(file);
    if (win32::Calls().playSound(name.c_str(), static_cast<UINT>(flags)) == 0 || !known)
        return false;
    if ((flags & SND_ASYNC) != 0) {
        player.path = file;
        player.bytes_per_second = bytes_per_second;
        player.until =
            start + std::chrono::milliseconds(uint64_t{data_bytes} * 1000 / bytes_per_second);
    }
    return true;
}

std::string win32::NowPlaying() {
    const Player& player = ThePlayer();
    return Remaining(player) > Clock::duration::zero() ? player.path : std::string();
}

void win32::ShutdownSound() {
    win32::Calls().playSound(nullptr, 0);
    ThePlayer() = {};
}

}  // namespace platform
