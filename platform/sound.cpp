// sndPlaySoundA over SDL's queued audio: one device, one sound queued at a time.
#include "platform/sound.h"

#include <SDL.h>

#include "platform/sound_wav.h"

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

struct Player {
    std::vector<SoundRequest> requests;
    bool tried = false;            // opening was attempted since the last shutdown
    SDL_AudioDeviceID device = 0;  // 0: no device, every call is silent
    std::string queued_path;       // the sound last queued
};

Player& ThePlayer() {
    static Player player;
    return player;
}

// Opens the device on first use only: a game that never plays a sound never touches audio, and
// a machine without a device is found out once, not on every cue.
bool DeviceReady(Player& player) {
    if (player.tried) return player.device != 0;
    player.tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceFormat.rate;
    wanted.format = kDeviceFormat.encoding;
    wanted.channels = kDeviceFormat.channels;
    wanted.samples = kDeviceFrames;
    player.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (player.device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(player.device, 0);
    return true;
}

void WaitUntilHeard(SDL_AudioDeviceID device, size_t bytes) {
    const Uint64 deadline = SDL_GetTicks64() + bytes * 1000 / kDeviceBytesPerSecond + kSyncMarginMs;
    while (SDL_GetQueuedAudioSize(device) > 0 && SDL_GetTicks64() < deadline) SDL_Delay(kPollMs);
}

}  // namespace

int32_t sndPlaySoundA(const char* path, int32_t flags) {
    Player& player = ThePlayer();
    const std::string file = path != nullptr ? path : "";
    player.requests.push_back({file, flags});
    if (!DeviceReady(player)) return 0;

    const std::vector<uint8_t> samples =
        file.empty() ? std::vector<uint8_t>{} : LoadWavAs(file.c_str(), kDeviceFormat);

    // As the desktop call does, a request stops the sound still playing before its own file is
    // known to be playable, so a cue that cannot play leaves silence, not the previous cue. There
    // is no default sound here, so SND_NODEFAULT changes nothing.
    SDL_ClearQueuedAudio(player.device);
    player.queued_path.clear();
    // LoadWavAs never returns more than INT_MAX bytes, so the size fits SDL's Uint32.
    if (samples.empty()) return 0;
    if (SDL_QueueAudio(player.device, samples.data(), static_cast<Uint32>(samples.size())) != 0) {
        return 0;
    }
    player.queued_path = file;
    SDL_PauseAudioDevice(player.device, 0);
    if ((flags & SND_ASYNC) == 0) WaitUntilHeard(player.device, samples.size());
    return 1;
}

const std::vector<SoundRequest>& SoundRequests() {
    return ThePlayer().requests;
}

void ClearSoundRequests() {
    ThePlayer().requests.clear();
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
