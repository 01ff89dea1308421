// One sound at a time, played from a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Starts opening the audio device in the background, once video is up and the first window shown,
// so that the first cue finds it open; without it, or without video, the first cue starts it.
void PrepareSound();

// Plays a WAV file by path. A new sound cuts off the one still playing. A missing or unplayable
// file is silent; with no audio device every call is silent and returns at once. Only the first
// call may wait for the device to open, and not past a second after that began. A device lost
// later is opened again in the background; until it is back, calls are silent.
// Returns 1 when the sound started, 0 when it was silent.
int32_t sndPlaySoundA(const char* path, int32_t flags);

// Every request made, in order, for tests to read.
struct SoundRequest {
    std::string path;
    int32_t flags;
};
const std::vector<SoundRequest>& SoundRequests();
void ClearSoundRequests();

// The path of the sound heard now, or "" when nothing plays.
std::string NowPlaying();

// Bytes of converted sound still waiting to be heard; 0 when nothing plays or there is no device.
uint32_t QueuedSoundBytes();

// Stops any sound and closes the audio device. Waits half a second at most: a device a stalled
// sound server holds is closed in the background once the server lets go, or with the program.
void ShutdownSound();

}  // namespace platform
