// Sound over SDL's queued audio: one device, one sound queued at a time. A thread of its own opens,
// feeds, rests, watches and reopens the device; the game's thread only hands it each cue through a
// mailbox, so no tick waits on a sound server that has stalled or gone.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/app.h"
#include "platform/constants.h"
#include "platform/host.h"
#include "sound_device.h"
#include "sound_watch.h"
#include "sound_wav.h"

namespace platform {
namespace {

// Every sound is converted to this before it is queued; the game's sounds are mono, 11 to 22 kHz.
constexpr SampleFormat kDeviceFormat{22050, AUDIO_S16SYS, 1};
constexpr int64_t kDeviceBytesPerSecond =
    int64_t{kDeviceFormat.rate} * sizeof(Sint16) * kDeviceFormat.channels;
// About 23 ms: how late a new sound can cut in over the end of the old one.
constexpr Uint16 kDeviceFrames = 512;

// How long after the sound thread started the first cue may wait for the device to open. Opening
// takes milliseconds: only a stalled sound server runs into this, and only once.
constexpr int64_t kOpenWaitMs = 1000;
// A synchronous cue waits for its sound to be heard, but no longer than the sound lasts and this
// margin, and not once no sound has left the queue for four device periods: a stalled server.
constexpr int64_t kSyncMarginMs = 1000;
constexpr int64_t kSyncStallMs = 100;
// How often the sound thread looks at its device: often while a synchronous cue waits, so that
// it goes on as soon as it has been heard; while other sound plays, when it should have ended but
// at least now and then, to notice a loss; the same while there is no device, to try opening one;
// only at its wake-ups while it rests, since a resting device changes in nothing.
constexpr auto kWaitedLook = std::chrono::milliseconds(5);
constexpr auto kIdleLook = std::chrono::milliseconds(100);
constexpr auto kRestingLook = std::chrono::milliseconds(DeviceWatch::kWakeMs);
// How long ShutdownSound waits for the sound thread to let go of the device.
constexpr auto kShutdownWait = std::chrono::milliseconds(500);

// What the two threads share, under `lock`. The sound thread never holds it through an SDL call.
struct Mailbox {
    std::mutex lock;
    std::condition_variable changed;
    // From the game's thread: the newest cue not yet taken, a stop being one without samples.
    bool cue_waiting = false;
    std::vector<uint8_t> cue;
    uint64_t posted = 0;     // cues posted so far
    std::string path;        // the file of the last cue posted
    int64_t started_at = 0;  // when the sound thread was started
    bool first_cue_seen = false;
    bool sync_waiting = false;  // a synchronous cue waits to be heard
    bool stopping = false;
    // From the sound thread.
    bool tried = false;     // the first try at opening has ended
    bool open = false;      // a device takes cues
    uint64_t looked = 0;    // `posted` as of the last look at the device
    uint32_t queued = 0;    // bytes still to be heard, as of that look or the last cue posted
    int64_t moved_at = 0;   // when sound last left the queue
    bool finished = false;  // the thread has let go of SDL's audio
};

std::chrono::steady_clock::time_point At(int64_t ms) {
    return std::chrono::steady_clock::time_point(std::chrono::milliseconds(ms));
}

// May block for as long as a stalled sound server does: only ever called on the sound thread.
SDL_AudioDeviceID OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    SDL_AudioSpec wanted{};
    wanted.freq = kDeviceFormat.rate;
    wanted.format = kDeviceFormat.encoding;
    wanted.channels = kDeviceFormat.channels;
    wanted.samples = kDeviceFrames;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    SDL_PauseAudioDevice(device, 0);  // playing, as Device takes it, until the first look
    return device;
}

// The open device, and whether it rests between cues: paused, with SDL's audio thread held at the
// device's lock, its stream to the server left open. Paused alone, SDL 2 would still wake every
// period to hand the server silence.
struct Device {
    SDL_AudioDeviceID id = 0;
    bool resting = false;

    void Rest(bool rest) {
        if (rest == resting) return;
        resting = rest;
        if (rest) {
            SDL_PauseAudioDevice(id, 1);
            SDL_LockAudioDevice(id);
            return;
        }
        // Un-paused before its thread goes on, so that the first period it takes is the cue's.
        SDL_PauseAudioDevice(id, 0);
        SDL_UnlockAudioDevice(id);
    }

    // The whole driver goes with the device, so that the next try starts afresh. SDL waits for
    // the device's thread, which must not be held at the lock for that.
    void Close() {
        if (std::exchange(resting, false)) SDL_UnlockAudioDevice(id);
        SDL_CloseAudioDevice(std::exchange(id, 0));
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

void Serve(const std::shared_ptr<Mailbox> shared) {
    Mailbox& box = *shared;
    DeviceWatch watch;
    Device device;
    std::unique_lock lock(box.lock);
    while (!box.stopping) {
        if (device.id == 0 && watch.TimeToOpen(Milliseconds())) {
            lock.unlock();
            device = {OpenDevice(), false};
            lock.lock();
            watch.Tried(device.id != 0, Milliseconds());
            box.tried = true;
            box.open = device.id != 0;
            box.changed.notify_all();
            continue;
        }
        const bool fresh = std::exchange(box.cue_waiting, false);
        const std::vector<uint8_t> cue = std::move(box.cue);
        box.cue.clear();
        const uint64_t seen = box.posted;
        if (device.id != 0) {
            lock.unlock();
            if (fresh) SDL_ClearQueuedAudio(device.id);
            // LoadWavAs never returns more than INT_MAX bytes, so the size fits SDL's Uint32.
            if (!cue.empty())
                SDL_QueueAudio(device.id, cue.data(), static_cast<Uint32>(cue.size()));
            const bool stopped = SDL_GetAudioDeviceStatus(device.id) == SDL_AUDIO_STOPPED;
            const uint32_t queued = SDL_GetQueuedAudioSize(device.id);
            lock.lock();
            const int64_t now = Milliseconds();
            if (fresh) watch.Queued(now);
            const bool lost = watch.Lost(stopped, queued, now);
            // A cue posted meanwhile keeps what the game's thread said of it.
            if (box.posted == seen) {
                box.looked = seen;
                box.queued = queued;
                box.moved_at = watch.MovedAt();
            }
            if (lost) {
                box.open = false;  // cues are silent, and wait for nothing, until it is back
                box.queued = 0;
                box.changed.notify_all();
                lock.unlock();
                device.Close();
                lock.lock();
                continue;
            }
            const bool rest = watch.Rests(now);
            box.changed.notify_all();
            lock.unlock();
            device.Rest(rest);
            lock.lock();
        }
        const auto drained = std::chrono::milliseconds(box.queued * 1000 / kDeviceBytesPerSecond);
        const auto look = device.id == 0  ? kIdleLook
                          : device.resting ? kRestingLook
                          : box.sync_waiting
                              ? kWaitedLook
                              : std::clamp<std::chrono::milliseconds>(drained + kWaitedLook,
                                                                      kWaitedLook, kIdleLook);
        box.changed.wait_for(lock, look, [&] { return box.stopping || box.cue_waiting; });
    }
    lock.unlock();
    if (device.id != 0) device.Close();
    lock.lock();
    box.open = false;
    box.finished = true;
    box.changed.notify_all();
    // SDL keeps per-thread data (its error text) that it frees itself only for its own threads.
    SDL_TLSCleanup();
}

std::shared_ptr<Mailbox>& Current() {
    static std::shared_ptr<Mailbox> box;
    return box;
}

std::shared_ptr<Mailbox> StartSoundThread() {
    auto box = std::make_shared<Mailbox>();
    box->started_at = Milliseconds();
    try {
        // Detached: a program ending while a stalled server holds the thread is not held too.
        std::thread(Serve, box).detach();
    } catch (const std::system_error&) {
        box->tried = box->finished = true;  // no thread to be had: the game plays silent
    }
    return box;
}

}  // namespace

void host::PrepareSound() {
    // Only once video is up: the two would otherwise set up SDL's shared parts at once.
    if (Current() || !SDL_WasInit(SDL_INIT_VIDEO)) return;
    Current() = StartSoundThread();
}

bool host::PlaySoundFile(const std::string& file, int32_t flags) {
    if (!Current()) Current() = StartSoundThread();
    Mailbox& box = *Current();
    std::unique_lock lock(box.lock);
    if (!std::exchange(box.first_cue_seen, true))
        box.changed.wait_until(lock, At(box.started_at + kOpenWaitMs), [&] { return box.tried; });
    if (!box.open) return false;
    lock.unlock();
    std::vector<uint8_t> samples =
        file.empty() ? std::vector<uint8_t>{} : LoadWavAs(file.c_str(), kDeviceFormat);
    lock.lock();

    // As the desktop call does, a request stops the sound still playing before its own file is
    // known to be playable, so a cue that cannot play leaves silence, not the previous cue. There
    // is no default sound here, so SND_NODEFAULT changes nothing.
    const int64_t bytes = static_cast<int64_t>(samples.size());
    box.cue = std::move(samples);
    box.cue_waiting = true;
    box.path = bytes > 0 ? file : std::string();
    box.queued = static_cast<uint32_t>(bytes);
    box.moved_at = Milliseconds();
    const uint64_t cue = ++box.posted;
    box.changed.notify_all();
    if (bytes == 0) return false;
    if ((flags & SND_ASYNC) != 0) return true;

    const int64_t deadline = box.moved_at + bytes * 1000 / kDeviceBytesPerSecond + kSyncMarginMs;
    box.sync_waiting = true;
    while (box.open && !(box.looked == cue && box.queued == 0)) {
        const int64_t give_up = std::min(deadline, box.moved_at + kSyncStallMs);
        if (Milliseconds() >= give_up) break;
        box.changed.wait_until(lock, At(give_up));
    }
    box.sync_waiting = false;
    return true;
}

std::string NowPlaying() {
    if (!Current()) return {};
    Mailbox& box = *Current();
    const std::lock_guard lock(box.lock);
    return box.open && box.queued > 0 ? box.path : std::string();
}

uint32_t QueuedSoundBytes() {
    if (!Current()) return 0;
    Mailbox& box = *Current();
    const std::lock_guard lock(box.lock);
    return box.open ? box.queued : 0;
}

void ShutdownSound() {
    const std::shared_ptr<Mailbox> box = std::exchange(Current(), nullptr);
    if (!box) return;
    std::unique_lock lock(box->lock);
    box->stopping = true;
    box->changed.notify_all();
    // A device a stalled server holds is left to the thread, which lets go of it when it can.
    box->changed.wait_for(lock, kShutdownWait, [&] { return box->finished; });
}

}  // namespace platform
