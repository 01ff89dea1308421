// Sound over SDL's queued audio: one device, one sound queued at a time.
#include "platform/sound.h"

#include <SDL.h>

#include <chrono>
#include <future>
#include <system_error>
#include <thread>

#include "platform/constants.h"
#include "platform/host.h"
#include "platform/sdl/sound_wav.h"

namespace platform {
namespace {

// Every sound is converted to this before it is queued; the game's sounds are mono, 11 to 22 kHz.
constexpr SampleFormat kDeviceFormat{22050, AUDIO_S16SYS, 1};
constexpr Uint64 kDeviceBytesPerSecond =
    Uint64{kDeviceFormat.rate} * sizeof(Sint16) * kDeviceFormat.channels;
// About 23 ms: how late a new sound can cut in over the end of the old one.
constexpr Uint16 kDeviceFrames = 512;
// A synchronous call waits this much longer than its sound lasts, so a stalled device cannot hang
// the game.
constexpr Uint64 kSyncMarginMs = 1000;
constexpr Uint32 kPollMs = 5;

// How long the first cue waits for a device still being opened; past it the cue is silent and the
// next one asks again. Opening takes milliseconds: only a stalled sound server runs into this.
constexpr auto kOpenWait = std::chrono::seconds(1);

struct Player {
    bool tried = false;                      // opening was started since the last shutdown
    std::future<SDL_AudioDeviceID> opening;  // valid while its result is not collected
    SDL_AudioDeviceID device = 0;            // 0: no device, every call is silent
    std::string queued_path;                 // the sound last queued
};

Player& ThePlayer() {
    static Player player;
    return player;
}

// Runs on its own thread, so that neither the windows nor the first cue wait for the sound server.
SDL_AudioDeviceID OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceFormat.rate;
    wanted.format = kDeviceFormat.encoding;
    wanted.channels = kDeviceFormat.channels;
    wanted.samples = kDeviceFrames;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    // Playing silence from now on keeps the sound server awake: the first cue is as prompt as
    // every later one.
    SDL_PauseAudioDevice(device, 0);
    return device;
}

// The device is opened once, ahead of the first cue where PrepareSound was called, else by that
// cue: a machine without a device is found out once, not on every cue.
bool DeviceReady(Player& player) {
    if (!player.tried) {
        player.tried = true;
        player.device = OpenDevice();
    }
    if (player.opening.valid()) {
        if (player.opening.wait_for(kOpenWait) != std::future_status::ready) return false;
        player.device = player.opening.get();
    }
    return player.device != 0;
}

void WaitUntilHeard(SDL_AudioDeviceID device, size_t bytes) {
    const Uint64 deadline = SDL_GetTicks64() + bytes * 1000 / kDeviceBytesPerSecond + kSyncMarginMs;
    while (SDL_GetQueuedAudioSize(device) > 0 && SDL_GetTicks64() < deadline) SDL_Delay(kPollMs);
}

}  // namespace

void PrepareSound() {
    Player& player = ThePlayer();
    // Only once video is up: the two would otherwise set up SDL's shared parts at once.
    if (player.tried || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    player.tried = true;
    // Detached, so that a program ending while a stalled server holds the thread is not held too.
    std::packaged_task<SDL_AudioDeviceID()> open(OpenDevice);
    player.opening = open.get_future();
    try {
        std::thread(std::move(open)).detach();
    } catch (const std::system_error&) {
        player.opening = {};  // no thread to be had: the first cue opens the device itself
        player.tried = false;
    }
}

bool host::PlaySoundFile(const std::string& file, int32_t flags) {
    Player& player = ThePlayer();
    if (!DeviceReady(player)) return false;

    const std::vector<uint8_t> samples =
        file.empty() ? std::vector<uint8_t>{} : LoadWavAs(file.c_str(), kDeviceFormat);

    // As the desktop call does, a request stops the sound still playing before its own file is
    // known to be playable, so a cue that cannot play leaves silence, not the previous cue. There
    // is no default sound here, so SND_NODEFAULT changes nothing.
    SDL_ClearQueuedAudio(player.device);
    player.queued_path.clear();
    // LoadWavAs never returns more than INT_MAX bytes, so the size fits SDL's Uint32.
    if (samples.empty()) return false;
    if (SDL_QueueAudio(player.device, samples.data(), static_cast<Uint32>(samples.size())) != 0)
        return false;
    player.queued_path = file;
    SDL_PauseAudioDevice(player.device, 0);
    if ((flags & SND_ASYNC) == 0) WaitUntilHeard(player.device, samples.size());
    return true;
}

std::string NowPlaying() {
    const Player& player = ThePlayer();
    return QueuedSoundBytes() > 0 ? player.queued_path : std::string();
}

uint32_t QueuedSoundBytes() {
    const Player& player = ThePlayer();
    return player.device != 0 ? SDL_GetQueuedAudioSize(player.device) : 0;
}

void ShutdownSound() {
    Player& player = ThePlayer();
    if (player.opening.valid()) player.device = player.opening.get();
    if (player.device != 0) {
        SDL_ClearQueuedAudio(player.device);
        SDL_CloseAudioDevice(player.device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    player.device = 0;
    player.tried = false;
    player.queued_path.clear();
}

}  // namespace platform
