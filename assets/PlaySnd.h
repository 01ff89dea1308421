// Sound cues: one of the game's WAV files, played by its bare file name.
#pragma once

#include <cstdint>
#include <string>

namespace assets {

// Plays a sound from the asset folder with sndPlaySoundA's flags (platform/constants.h): with
// SND_ASYNC it plays on while the game goes on, without it the call waits until it has been heard.
// The game always adds SND_NODEFAULT, so a missing file is silent.
void PlaySnd(const std::string& name, int32_t flags);

}  // namespace assets
