#include "frmMAIN.h"

#include "assets/PlaySnd.h"
#include "assets/frmRES.h"
#include "platform/constants.h"
#include "platform/cursor.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "startup/basDisplay.h"
#include "startup/frmStartup.h"

namespace game {

using namespace basBALLOON;
using startup::basDisplay::bFullScreen;
using startup::basDisplay::sngScreenH;
using startup::basDisplay::sngScreenW;

namespace {

platform::FormDesign MakeDesign() {
    platform::FormDesign design;
    design.caption = "Dozova";
    design.border = platform::BorderStyle::None;
    design.clientWidth = 640;
    design.clientHeight = 480;
    design.withIcon = true;
    design.backColor = 0;
    return design;
}

}  // namespace

MainForm frmMAIN;

MainForm::MainForm()
    : Form(MakeDesign()),
      pic_Work(640, 480),
      tmr_Main(*this, 45, true, [this] { tmr_Main_Timer(); }) {
    pic_Work.FontSize = 16.5f;
}

void MainForm::Form_Load() {
    // Pictures first: one that cannot be loaded ends the game before the display is touched.
    using namespace assets;
    pic_Crosshair.SetPicture(frmRES.LoadPicture(kCrosshairSheet));
    pic_BG.SetPicture(frmRES.LoadPicture(kSky));
    pic_BalloonsM.SetPicture(frmRES.LoadPicture(kBalloonMask));
    pic_Balloons.SetPicture(frmRES.LoadPicture(kBalloonSheet));
    pic_BalloonsEM.SetPicture(frmRES.LoadPicture(kBurstMask));
    pic_BalloonsE.SetPicture(frmRES.LoadPicture(kBurstSheet));

    namespace Screen = platform::Screen;
    sngScreenW = Screen::Width() / Screen::TwipsPerPixelX;
    sngScreenH = Screen::Height() / Screen::TwipsPerPixelY;

    if (bFullScreen == platform::True) {
        Single width = 640, height = 480;
        startup::basDisplay::SetDisplayMode(width, height);
        SetLeft(0);
        SetTop(0);
    } else {
        // The desktop's size in pixels taken as twips: the window sits near the top-left
        // corner, not in the middle. This is where the game has always opened.
        SetLeft(Screen::Width() / Screen::TwipsPerPixelX);
        SetTop(Screen::Height() / Screen::TwipsPerPixelY);
        ClipToForm(*this);
    }
    GameReset();
    platform::ShowCursor(platform::False);
}

void MainForm::Form_Unload(Integer& Cancel) {
    (void)Cancel;
    if (bFullScreen == platform::True)
        startup::basDisplay::SetDisplayMode(sngScreenW, sngScreenH);
    else
        platform::ClipCursor(nullptr);
    platform::ShowCursor(platform::True);
}

void MainForm::Form_MouseDown(Integer Button, Integer Shift, Single X, Single Y) {
    (void)Shift, (void)X, (void)Y;
    if (Button == platform::vbLeftButton)
        bFireLeft = platform::True;
    else
        bFireRight = platform::True;
}

void MainForm::Form_MouseUp(Integer Button, Integer Shift, Single X, Single Y) {
    (void)Shift, (void)X, (void)Y;
    if (Button == platform::vbLeftButton)
        bFireLeft = platform::False;
    else
        bFireRight = platform::False;
}

void MainForm::Form_MouseMove(Integer Button, Integer Shift, Single X, Single Y) {
    (void)Button, (void)Shift;
    // The pointer sits at the centre of the 22 x 22 crosshair picture.
    iCrossX = platform::CInt(static_cast<double>(X - 11));
    iCrossY = platform::CInt(static_cast<double>(Y - 11));
}

void MainForm::Form_KeyPress(Integer& KeyAscii) {
    if (KeyAscii != 'p' && KeyAscii != 'P') return;
    // The timer alone says which way the pause goes; the cursor shows while paused.
    if (tmr_Main.Enabled()) {
        tmr_Main.SetEnabled(platform::False);
        platform::ShowCursor(platform::True);
    } else {
        tmr_Main.SetEnabled(platform::True);
        platform::ShowCursor(platform::False);
    }
}

void MainForm::Form_KeyUp(Integer& KeyCode, Integer Shift) {
    (void)Shift;
    if (KeyCode != platform::vbKeyEscape) return;
    if (bPlaying == platform::True) {
        bGameOver = platform::True;
        bPlaying = platform::False;
        assets::PlaySnd("Kraj.wav", platform::SND_ASYNC | platform::SND_NODEFAULT);
        return;
    }
    frmMAIN.Unload();
    assets::frmRES.Unload();
    startup::frmStartup.Unload();
}

}  // namespace game
