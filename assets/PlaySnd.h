// Sound cues: one of the game's WAV files, played by its bare file name.
#pragma once

#include <cstdint>
#include <string>

namespace assets {

// Plays a sound from the asset folder. Flags: 3 plays on while the game goes on, 2 waits until
// it has been heard; neither falls back to a default sound. A missing file is silent.
void PlaySnd(const std::string& name, int32_t flags);

}  // namespace assets
