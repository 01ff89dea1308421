// What the SDL host's sound thread tells beside the contract: for StopVideo and the host's tests.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The path of the sound heard now, or "" when nothing plays.
std::string NowPlaying();

// Bytes of converted sound still waiting to be heard; 0 when nothing plays or there is no device.
uint32_t QueuedSoundBytes();

// Stops any sound and closes the audio device. Waits half a second at most: a device a stalled
// sound server holds is closed in the background once the server lets go, or with the program.
void ShutdownSound();

}  // namespace platform
