// One sound at a time, played from a WAV file.
#pragma once

#include <cstdint>

namespace platform {

// Plays a WAV file by path with SND_SYNC or SND_ASYNC, and SND_NODEFAULT. A new sound cuts off the
// one still playing. A missing or unplayable file is silent; with no audio device every call is
// silent and returns at once. Only the first call may wait for the device to open, and not past a
// second after that began. A device lost later is opened again in the background; until it is
// back, calls are silent. Returns 1 when the sound started, 0 when it was silent.
int32_t sndPlaySoundA(const char* path, int32_t flags);

}  // namespace platform
