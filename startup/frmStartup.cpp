#include "frmStartup.h"

#include "assets/frmRES.h"
#include "basDisplay.h"
#include "platform/app.h"
#include "platform/single_copy.h"

namespace startup {

namespace {

platform::FormDesign MakeDesign() {
    platform::FormDesign design;
    design.caption = ":: Puffpop ::   |   :: Izaberite mod igranja ::";
    design.border = platform::BorderStyle::FixedToolWindow;
    design.clientWidth = 329;
    design.clientHeight = 63;
    design.centred = true;
    return design;
}

}  // namespace

StartupForm frmStartup;

StartupForm::StartupForm()
    : Form(MakeDesign()),
      btnOK(*this, 0, "-=:: START ::=-", {200, 16, 113, 33}, [this] { btnOK_Click(); }),
      optW(*this, 1, "Windows Mode", {16, 8, 97, 25}, true),
      optFS(*this, 2, "FullScreen Mode (640x480)", {16, 32, 153, 25}, false) {}

void StartupForm::Form_Load() {
    if (platform::PrevInstance()) platform::End();
}

void StartupForm::StartIn(bool fullScreen) {
    Load();
    // The window would have opened the display; open it anyway, so that a failure while
    // unpacking still reaches the player in a message box, not only on stderr.
    platform::InitVideo();
    (fullScreen ? optFS : optW).SetValue(platform::True);
    btnOK_Click();
}

void StartupForm::btnOK_Click() {
    if (optW.Value()) basDisplay::bFullScreen = 0;
    if (optFS.Value()) basDisplay::bFullScreen = platform::True;
    assets::frmRES.Show();
    Unload();
}

}  // namespace startup
