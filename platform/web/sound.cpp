// Cues through Web Audio: each WAV decoded once, an asynchronous cue cutting off the one before,
// a synchronous one holding the game until it has been heard.
#include "platform/constants.h"
#include "platform/host.h"
#include "web_host.h"

namespace platform {

namespace {

// No cue of the game's is this long: more is not a sound file of ours.
constexpr uint64_t kLargestCue = 16u << 20;
// A synchronous cue holds the game no longer than this, whatever the page's audio does.
constexpr int kLongestWait = 5000;

}  // namespace

void host::PrepareSound() {
    puffpop_web_sound_prepare();
}

bool host::PlaySoundFile(const std::string& path, int32_t flags) {
    bool started;
    if (puffpop_web_sound_known(path.c_str())) {
        started = puffpop_web_sound_play(path.c_str(), nullptr, 0) != 0;
    } else {
        std::vector<uint8_t> bytes;
        std::string why;
        if (ReadFile(path, kLargestCue, bytes, why) != FileRead::Done) return false;
        started = puffpop_web_sound_play(path.c_str(), bytes.data(),
                                         static_cast<uint32_t>(bytes.size())) != 0;
    }
    if (started && (flags & SND_ASYNC) == 0) puffpop_web_sound_wait(kLongestWait);
    return started;
}

}  // namespace platform
