#include "PlaySnd.h"

#include "frmRES.h"
#include "platform/sound.h"

namespace assets {

void PlaySnd(const std::string& name, int32_t flags) {
    // Reading the registry reloads the unpacker when it has closed, which puts the asset
    // folder back if it has gone.
    const std::string path = frmRES.Text(13) + name;
    platform::sndPlaySoundA(path.c_str(), flags);
}

}  // namespace assets
