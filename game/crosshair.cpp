// Aiming, single shots, smart bombs and the start of a round.
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

void MainForm::AddPoints(const BALLOON& balloon) {
    const int64_t sum = int64_t{lScore} + CInt(CInt(balloon.Kind + 1) * 100) + iBonus;
    // The score stops at the largest Long rather than overflowing and losing the round.
    lScore = sum > std::numeric_limits<Long>::max() ? std::numeric_limits<Long>::max() : CLng(sum);
}

void MainForm::UpdateCrosshair() {
    const int64_t reloaded = int64_t{iReloadTicks} * tmr_Main.Interval();

    if (bFireLeft == platform::True) {
        if (bPlaying == 0 && bGameOver == 0) {
            bPlaying = platform::True;
            assets::PlaySnd("Start.wav", SND_NODEFAULT);  // the whole game waits for the fanfare
        }
        if (iReload >= reloaded) {
            iCrossFrame = 2;
            iReload = 0;
            assets::PlaySnd("PucanjB.wav", SND_ASYNC | SND_NODEFAULT);
            // The shot box is the 3 x 3 corner of the crosshair picture, and the lowest slot
            // hit wins: that is how the game has always aimed.
            for (BALLOON& b : Balloons) {
                if (b.Active == platform::True &&
                    Collide(b.X, b.Y, 60, 60, iCrossX, iCrossY, 3, 3)) {
                    b.Active = 0;
                    b.Bursting = platform::True;
                    b.Frame = 0;
                    assets::PlaySnd("Eksplozija.wav", SND_ASYNC | SND_NODEFAULT);
                    AddPoints(b);
                    break;
                }
            }
        }
    }

    // Tested afresh: a shot fired this tick has emptied the reload clock and blocks the bomb.
    if (bFireRight == platform::True && iBombs > 0 && iReload >= reloaded) {
        iCrossFrame = 2;
        iReload = 0;
        if (bPlaying == platform::True) iBombs = CInt(iBombs - 1);
        assets::PlaySnd("PucanjSB.wav", SND_ASYNC | SND_NODEFAULT);
        for (BALLOON& b : Balloons) {
            if (b.Active == platform::True) {
                b.Active = 0;
                b.Bursting = platform::True;
                b.Frame = 0;
                AddPoints(b);
            }
        }
    }

    DrawSprite(pic_Crosshair, pic_Crosshair, pic_Work, iCrossFrame, iCrossFrame, 0, 1, iCrossX,
               iCrossY, 22, 22);
    if (iCrossFrame != 1) iCrossFrame = 1;
}

}  // namespace game
