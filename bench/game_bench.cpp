// What the player waits for: a whole playing frame, a balloon and a burst drawn by the game's own
// blitter beside SDL's colour-keyed blit of the same cell, the unpacker's first and second run,
// one sound cue with the unpacker reload, and the cadence of the real frame timer.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "assets/PlaySnd.h"
#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/app.h"
#include "platform/constants.h"
#include "platform/form.h"

namespace {

namespace fs = std::filesystem;
using namespace game::basBALLOON;
using game::frmMAIN;

// A private temporary directory for the unpacker, removed at exit.
struct Temp {
    fs::path dir;
    Temp() {
        std::string pattern = "/tmp/puffpop-bench-XXXXXX";
        dir = mkdtemp(pattern.data());
        setenv("TMPDIR", (dir.string() + "/").c_str(), 1);
    }
    ~Temp() {
        unsetenv("TMPDIR");
        fs::remove_all(dir);
    }
};

void Environment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "none", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
}

// The game window open on its own asset folder, as after start-up, and closed again.
struct OpenGame {
    Temp temp;
    OpenGame() {
        Environment();
        assets::frmRES.Show();
        assets::frmRES.Timer1_Timer();
    }
    ~OpenGame() {
        frmMAIN.Unload();
        assets::frmRES.Unload();
    }
};

// The game window, loaded, with a busy playing screen: 15 balloons, 10 of them bursting.
void BusyRound() {
    SetRandomSource([] { return 0.99f; });  // no launches: the table stays as set
    bPlaying = platform::True;
    bGameOver = 0;
    lScore = 123450;
    for (int i = 0; i < 15; ++i) {
        const bool bursting = i < 10;
        Balloons[static_cast<size_t>(i)] = {
            game::Integer(bursting ? 0 : -1), game::Integer(i % 4),  5,
            game::Integer(bursting ? 3 : 4),  game::Integer(i * 38), 200,
            game::Integer(bursting ? -1 : 0)};
    }
    iCrossX = 300;
    iCrossY = 240;
}

void BM_PlayingFrame(benchmark::State& state) {
    OpenGame game;
    for (auto _ : state) {
        state.PauseTiming();
        BusyRound();
        state.ResumeTiming();
        frmMAIN.tmr_Main_Timer();  // compose
        frmMAIN.Present();         // and show
    }
    SetRandomSource(nullptr);
}

// The same frame without showing it: what the tick itself costs.
void BM_ComposeFrame(benchmark::State& state) {
    OpenGame game;
    for (auto _ : state) {
        state.PauseTiming();
        BusyRound();
        state.ResumeTiming();
        frmMAIN.tmr_Main_Timer();
    }
    SetRandomSource(nullptr);
}
BENCHMARK(BM_ComposeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlayingFrame)->Unit(benchmark::kMicrosecond);

void BM_PlainFrameCopy(benchmark::State& state) {
    std::vector<uint32_t> from(640 * 480, 0x336699), to(640 * 480);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFrameCopy)->Unit(benchmark::kMicrosecond);

// One sprite through the game's blitter, and the same cell through SDL's colour key.
void Sprite(benchmark::State& state, bool burst) {
    OpenGame game;
    auto& sheet = burst ? frmMAIN.pic_BalloonsE : frmMAIN.pic_Balloons;
    auto& mask = burst ? frmMAIN.pic_BalloonsEM : frmMAIN.pic_BalloonsM;
    const game::Integer size = burst ? 100 : 60;
    for (auto _ : state) {
        DrawSprite(sheet, mask, frmMAIN.pic_Work, 3, 3, 2, 0, 200, 150, size, size);
        benchmark::ClobberMemory();
    }
}
void BM_DrawSpriteBalloon(benchmark::State& state) {
    Sprite(state, false);
}
void BM_DrawSpriteBurst(benchmark::State& state) {
    Sprite(state, true);
}
BENCHMARK(BM_DrawSpriteBalloon);
BENCHMARK(BM_DrawSpriteBurst);

void ColourKeyed(benchmark::State& state, bool burst) {
    OpenGame game;
    platform::Surface& sheet = *(burst ? frmMAIN.pic_BalloonsE : frmMAIN.pic_Balloons).hDC();
    const int size = burst ? 100 : 60, left = 2 * (size + 1) + 1, top = 2 * (size + 1) + 1;
    // The same cell on its own, black the colour key, run-length encoded: SDL at its best.
    SDL_Surface* keyed =
        SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_XRGB8888);
    for (int y = 0; y < size; ++y)
        std::memcpy(static_cast<uint8_t*>(keyed->pixels) + y * keyed->pitch,
                    sheet.Row(top + y) + left, size * sizeof(uint32_t));
    SDL_SetColorKey(keyed, SDL_TRUE | SDL_RLEACCEL, 0);
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_XRGB8888);
    for (auto _ : state) {
        SDL_Rect to{200, 150, size, size};
        SDL_BlitSurface(keyed, nullptr, frame, &to);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(frame);
    SDL_FreeSurface(keyed);
}
void BM_SdlColourKeyBalloon(benchmark::State& state) {
    ColourKeyed(state, false);
}
void BM_SdlColourKeyBurst(benchmark::State& state) {
    ColourKeyed(state, true);
}
BENCHMARK(BM_SdlColourKeyBalloon);
BENCHMARK(BM_SdlColourKeyBurst);

// The unpacker on a missing folder (writes 1,746,080 bytes) and on an intact one (checks them).
// The game window stays open throughout, so only the unpacking itself is measured.
void BM_UnpackerFirstRun(benchmark::State& state) {
    Environment();
    Temp window;
    assets::frmRES.Show();
    std::optional<Temp> temp;
    for (auto _ : state) {
        state.PauseTiming();
        assets::frmRES.Unload();
        temp.reset();
        temp.emplace();
        state.ResumeTiming();
        assets::frmRES.Load();
    }
    frmMAIN.Unload();
    assets::frmRES.Unload();
}
BENCHMARK(BM_UnpackerFirstRun)->Unit(benchmark::kMillisecond);

void BM_UnpackerSecondRun(benchmark::State& state) {
    OpenGame game;
    for (auto _ : state) {
        assets::UnpackerForm unpacker;  // a new run of the program: it checks every file
        unpacker.Load();
        state.PauseTiming();
        unpacker.Unload();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UnpackerSecondRun)->Unit(benchmark::kMillisecond);

// A cue in play: the unpacker has closed, so reading its registry loads it again.
void BM_SoundCueWithReload(benchmark::State& state) {
    OpenGame game;
    for (auto _ : state) {
        assets::frmRES.Timer1_Timer();
        assets::PlaySnd("PucanjB.wav", platform::SND_ASYNC | platform::SND_NODEFAULT);
    }
}
BENCHMARK(BM_SoundCueWithReload)->Unit(benchmark::kMicrosecond);

// The real loop's 45 ms timer over 1,000 ticks, with one 200 ms stall half way: the median
// and worst deviation from 45 ms, and how many ticks after the stall came back to back (a
// catch-up burst would show there; one late tick, then the old cadence, is what we want).
class Metronome : public platform::Form {
public:
    Metronome() : Form(Design()), timer_(*this, 45, true, [this] { Tick(); }) {}
    std::vector<double> intervals;
    int burst = 0;

private:
    static platform::FormDesign Design() {
        platform::FormDesign design;
        design.onScreen = false;
        return design;
    }
    void Tick() {
        const auto now = std::chrono::steady_clock::now();
        if (last_) {
            const double ms = std::chrono::duration<double, std::milli>(now - *last_).count();
            if (count_ == 501 || count_ == 502)
                burst += ms < 5;  // back to back
            else if (count_ != 500)
                intervals.push_back(ms);
        }
        last_ = now;
        if (++count_ == 500) std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (count_ > 1000) Unload();
    }
    platform::Timer timer_;
    std::optional<std::chrono::steady_clock::time_point> last_;
    int count_ = 0;
};

void BM_TickCadence(benchmark::State& state) {
    for (auto _ : state) {
        Metronome metronome;
        metronome.Load();
        platform::Run();
        auto sorted = metronome.intervals;
        std::sort(sorted.begin(), sorted.end());
        state.counters["median_ms"] = sorted[sorted.size() / 2];
        double worst = 0;
        for (double ms : sorted) worst = std::max(worst, std::abs(ms - 45));
        state.counters["worst_deviation_ms"] = worst;
        state.counters["catch_up_ticks"] = metronome.burst;
    }
}
BENCHMARK(BM_TickCadence)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
