// The frame tick and the start of a new game.
#include "frmMAIN.h"
#include "platform/constants.h"
#include "platform/surface.h"

namespace game {

using namespace basBALLOON;
using platform::CInt;

void MainForm::tmr_Main_Timer() {
    DifficultyStep();
    platform::BitBlt(pic_Work.hDC(), 0, 0, 640, 480, pic_BG.hDC(), 0, 0, platform::SRCCOPY);

    if (bPlaying) {
        DrawHud();
        UpdateBalloons();
    } else {
        iBlink = CInt(iBlink + 1);
        if (bGameOver == 0) {
            // The attract text shows for 10 ticks and hides for 10.
            if (iBlink <= 10)
                DrawAttract();
            else if (iBlink == 20)
                iBlink = 0;
        } else if (iBlink <= 40) {
            // The game-over screen runs out at 40, from whatever blink phase the round began in.
            DrawGameOver();
        } else {
            bGameOver = 0;
            iBlink = 0;
            GameReset();
        }
    }

    UpdateCrosshair();
    platform::BitBlt(hDC(), 0, 0, 640, 480, pic_Work.hDC(), 0, 0, platform::SRCCOPY);
}

void MainForm::GameReset() {
    iBonus = 0;
    iBombs = 3;
    iSpawned = 0;
    lScore = 0;
    iMissed = 0;
    iSpawnDelay = 300;
    iCrossFrame = 1;
    bFireLeft = 0;
    iReload = 0;
    iBlink = 0;
    iReloadTicks = 4;
    for (BALLOON& balloon : Balloons) {
        balloon.Active = 0;
        balloon.Bursting = 0;
        balloon.Speed = 0;
    }
}

}  // namespace game
