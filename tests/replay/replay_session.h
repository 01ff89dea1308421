// One run of the real game, fed from a script instead of the mouse, keyboard and clock.
//
// The game starts as the program starts it: the unpacker is shown with TMPDIR pointing at a
// fresh private directory, and closes itself on its first timer tick. Time is counted in frame
// ticks; a paused game gets no tick, as the stopped frame timer would give it none. After every
// tick one line is written:
//
//   tick screen run|hold lScore iMissed iBombs iBlink iSpawnDelay iBonus slots frame-hash [sounds]
//
// slots: two characters per slot 0 to 14, ".." free, "F<kind>" flying, "B<kind>" bursting;
// frame-hash: FNV-1a 64 (FrameHash) of the window's 640 x 480 pixels as last presented; sounds: the
// cues asked for since the line before, "Name:flags".
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "replay_script.h"
#include "seeded_random.h"
#include "temp_dir.h"

namespace replay {

class Session {
public:
    // Starts the game; `trace` (may be null) gets every balloon's place after each tick.
    Session(std::ostream& out, std::ostream* trace);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Input events and seeds act at once; a tick command runs the ticks up to its number.
    void Apply(const Command& command);
    // Writes the closing summary line.
    void Finish();

    int64_t Now() const { return now_; }
    bool Closed() const;

private:
    void RunTick();
    void WriteLine();
    void WriteClosed();
    std::string TakeSounds();

    testing_support::TempDir temp_;
    testing_support::SeededRandom random_;
    std::ostream& out_;
    std::ostream* trace_;
    int64_t now_ = 0;
    uint64_t frameHash_ = 0;
    bool closedWritten_ = false;
};

// FNV-1a 64 taken a whole 0x00RRGGBB pixel per step rather than a byte per step (a quarter of
// the work for a frame a tick), row by row.
uint64_t FrameHash(const uint32_t* pixels, size_t count);

}  // namespace replay
