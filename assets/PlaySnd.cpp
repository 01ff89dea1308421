#include "PlaySnd.h"

#include <iostream>
#include <utility>

#include "frmRES.h"
#include "platform/error.h"
#include "platform/sound.h"

namespace assets {

void PlaySnd(const std::string& name, int32_t flags) {
    // Reading the registry reloads the unpacker when it has closed, which puts the asset
    // folder back if it has gone.
    std::string folder;
    try {
        folder = frmRES.Text(kAssetFolder);
    } catch (const platform::RuntimeError& error) {
        // A folder that cannot be put back (deleted, and the disk full) costs the cue its
        // sound, not the player the round.
        static bool told = false;
        if (!std::exchange(told, true)) std::cerr << "puffpop: no sound: " << error.what() << '\n';
        return;
    }
    const std::string path = folder + name;
    platform::sndPlaySoundA(path.c_str(), flags);
}

}  // namespace assets
