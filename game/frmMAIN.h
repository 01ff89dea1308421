// The game window: its picture surfaces, its frame timer and every procedure of the game.
//
// Each 45 ms tick composes a whole 640 x 480 frame in pic_Work and presents it in one transfer.
// The mouse and key handlers only record what the player does; everything else happens in the
// tick.
#pragma once

#include <string>

#include "basBALLOON.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace game {

class MainForm : public platform::Form {
public:
    MainForm();

    void tmr_Main_Timer();

    // Events, public so that tests and replays can drive them as the loop does.
    void Form_Load() override;
    void Form_Unload(Integer& Cancel) override;
    void Form_MouseDown(Integer Button, Integer Shift, Single X, Single Y) override;
    void Form_MouseUp(Integer Button, Integer Shift, Single X, Single Y) override;
    void Form_MouseMove(Integer Button, Integer Shift, Single X, Single Y) override;
    void Form_KeyPress(Integer& KeyAscii) override;
    void Form_KeyUp(Integer& KeyCode, Integer Shift) override;

    platform::PictureBox pic_Crosshair;
    platform::PictureBox pic_BG;
    platform::PictureBox pic_BalloonsM;
    platform::PictureBox pic_Balloons;
    platform::PictureBox pic_BalloonsEM;
    platform::PictureBox pic_BalloonsE;
    platform::PictureBox pic_Work;
    platform::Timer tmr_Main;

private:
    void GameReset();
    void DifficultyStep();
    void UpdateBalloons();
    void UpdateCrosshair();
    void DrawAttract();
    void DrawGameOver();
    void DrawHud();
    void DrawPoints(Integer x, Integer y, Long points);
    void LaunchInto(BALLOON& balloon);
    void AddPoints(const BALLOON& balloon);
};

extern MainForm frmMAIN;

}  // namespace game
