// Launching, flying, escaping and bursting balloons, and the difficulty that grows with them.
#include <limits>

#include "assets/PlaySnd.h"
#include "frmMAIN.h"
#include "platform/constants.h"

namespace game {

using namespace basBALLOON;
using platform::CInt;
using platform::CLng;
using platform::SND_ASYNC;
using platform::SND_NODEFAULT;

namespace {

constexpr Integer kLaunchesPerStep = 20;
constexpr Integer kDelayStep = 20;
constexpr Integer kBonusStep = 10;
constexpr Integer kLaunchY = 482;  // the cell starts just below the frame
constexpr Integer kEscapesPerRound = 3;
constexpr Integer kBurstSink = 5;

// The dearest balloon's points, 400 + iBonus, must stay an Integer: past that the bonus stops
// growing instead of overflowing and ending a very long round with a crash.
constexpr int kLargestBonus = std::numeric_limits<Integer>::max() - 4 * 100;

}  // namespace

void MainForm::DifficultyStep() {
    const Long interval = tmr_Main.Interval();
    if (iSpawned == kLaunchesPerStep) {
        if (iSpawnDelay - kDelayStep > 0) iSpawnDelay = CInt(iSpawnDelay - kDelayStep);
        iSpawned = 0;
        if (iBonus + kBonusStep <= kLargestBonus) iBonus = CInt(iBonus + kBonusStep);
    }
    if (lSpawnClock < CLng(300 * int64_t{interval}))
        lSpawnClock = CLng(int64_t{lSpawnClock} + interval);
    if (iReload < CLng(int64_t{iReloadTicks} * interval))
        iReload = CInt(int64_t{iReload} + interval);
}

void MainForm::LaunchInto(BALLOON& balloon) {
    balloon.Active = platform::True;
    balloon.Kind = RandomInt(4);
    balloon.Speed = CInt(RandomInt(9) + 2 + CInt(balloon.Kind + 1));
    balloon.Frame = 1;
    balloon.X = RandomInt(580);
    balloon.Y = kLaunchY;
    balloon.Bursting = 0;
    iSpawned = CInt(iSpawned + 1);
}

void MainForm::UpdateBalloons() {
    const Long interval = tmr_Main.Interval();

    // A fresh draw every playing tick spreads the launches between the delay and 7/6 of it.
    const Long threshold =
        CLng(int64_t{iSpawnDelay} + int64_t{RandomInt(CInt(iSpawnDelay / 6))} * interval);
    if (lSpawnClock >= threshold) {
        for (BALLOON& balloon : Balloons) {
            if (balloon.Active == 0 && balloon.Bursting == 0) {
                LaunchInto(balloon);
                break;
            }
        }
        lSpawnClock = 0;  // spent even when every slot was busy
    }

    for (BALLOON& b : Balloons) {
        if (b.Active == platform::True && b.Bursting == 0) {
            b.Frame = CInt(b.Frame + 1);
            if (b.Frame >= 10) b.Frame = 1;
            // The poses swing 1, 2, 3, 4, 5, 4, 3, 2, 1 and round again.
            const Integer column = b.Frame <= 5 ? b.Frame : CInt(10 - b.Frame);
            b.Y = CInt(b.Y - b.Speed);
            if (b.Y + 60 <= 0) {
                b.Active = 0;
                iMissed = CInt(iMissed + 1);
                assets::PlaySnd("Promasaj.wav", SND_ASYNC | SND_NODEFAULT);
                if (iMissed >= kEscapesPerRound) {
                    bPlaying = 0;
                    bGameOver = platform::True;
                    assets::PlaySnd("Kraj.wav", SND_ASYNC | SND_NODEFAULT);
                    return;  // the rest of the table is neither moved nor drawn this tick
                }
            }
            DrawSprite(pic_Balloons, pic_BalloonsM, pic_Work, column, column, b.Kind, 0, b.X, b.Y,
                       60, 60);
        } else if (b.Active == 0 && b.Bursting == platform::True) {
            const Integer points = CInt(CInt(CInt(b.Kind + 1) * 100) + iBonus);
            DrawPoints(CInt(b.X + 15), CInt(b.Y + 15), points);
            b.Frame = CInt(b.Frame + 1);
            b.Y = CInt(b.Y + kBurstSink);
            if (b.Frame > 9) {
                b.Frame = 0;
                b.Bursting = 0;
            }
            // Frames 8, 9 and 0 lie outside the seven-stage sheet and draw nothing.
            DrawSprite(pic_BalloonsE, pic_BalloonsEM, pic_Work, b.Frame, b.Frame, b.Kind, 0,
                       CInt(b.X - 20), CInt(b.Y - 20), 100, 100);
        }
    }
}

}  // namespace game
