// Keeping the sound device: when to try opening it, when an open one may rest between cues, and
// when it has been lost. Kept apart from SDL and the clock (times are the caller's milliseconds),
// so that the rules can be checked without a sound card.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace platform {

class DeviceWatch {
public:
    // The wait after a try at opening: a few seconds, doubled after each failure up to the
    // longest, so that a device gone for good costs little (some drivers print on each try).
    static constexpr int64_t kRetryMs = 2500;
    static constexpr int64_t kLongestRetryMs = 40000;
    // Sound waiting this long without any of it being played: the device no longer takes it.
    static constexpr int64_t kStuckMs = 1000;
    // A resting device wakes this often for one look: a server that went away meanwhile is then
    // noticed, and the device reopened, before the next cue rather than by it.
    static constexpr int64_t kWakeMs = 1000;

    // The first try comes at once. Later ones only win back a device that was open once: a
    // machine without sound stays as quiet as it started.
    bool TimeToOpen(int64_t now) const { return !tried_ || (was_open_ && now >= next_try_); }

    void Tried(bool opened, int64_t now) {
        tried_ = true;
        was_open_ = was_open_ || opened;
        wait_ms_ = opened || !failed_ ? kRetryMs : std::min(wait_ms_ * 2, kLongestRetryMs);
        failed_ = !opened;
        next_try_ = now + wait_ms_;
        moved_at_ = now;
        last_queued_ = 0;
    }

    // A new sound went into the device's queue.
    void Queued(int64_t now) {
        moved_at_ = now;
        last_queued_ = std::numeric_limits<uint32_t>::max();
    }

    // After a look at the open device: true when it is lost, stopped by the driver (the server
    // went away, the card was unplugged) or no longer draining its queue.
    bool Lost(bool stopped, uint32_t queued, int64_t now) {
        if (queued == 0 || queued < last_queued_) moved_at_ = now;
        last_queued_ = queued;
        return stopped || now - moved_at_ >= kStuckMs;
    }

    // After a look that found the device not lost: whether it may rest until the next one. It
    // plays while sound is queued, rests once the queue has drained, and wakes now and then.
    // Resting, its queue is empty, so it never counts as stuck.
    bool Rests(int64_t now) {
        if (last_queued_ == 0 && now - awake_at_ < kWakeMs) return true;
        awake_at_ = now;
        return false;
    }

    // When sound last left the queue, or the queue was last empty.
    int64_t MovedAt() const { return moved_at_; }

private:
    bool tried_ = false;
    bool was_open_ = false;
    bool failed_ = false;
    int64_t wait_ms_ = kRetryMs;
    int64_t next_try_ = 0;
    int64_t moved_at_ = 0;
    int64_t awake_at_ = 0;
    uint32_t last_queued_ = 0;
};

}  // namespace platform
