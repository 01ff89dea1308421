#include "sound.h"

#include "host.h"

namespace platform {

namespace {
std::vector<SoundRequest>& Requests() {
    static std::vector<SoundRequest> requests;
    return requests;
}
}  // namespace

int32_t sndPlaySoundA(const char* path, int32_t flags) {
    const std::string file = path != nullptr ? path : "";
    Requests().push_back({file, flags});
    return host::PlaySoundFile(file, flags) ? 1 : 0;
}

const std::vector<SoundRequest>& SoundRequests() {
    return Requests();
}

void ClearSoundRequests() {
    Requests().clear();
}

}  // namespace platform
