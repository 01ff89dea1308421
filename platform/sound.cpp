#include "sound.h"

#include <string>

#include "host.h"

namespace platform {

int32_t sndPlaySoundA(const char* path, int32_t flags) {
    return host::PlaySoundFile(path != nullptr ? path : "", flags) ? 1 : 0;
}

}  // namespace platform
