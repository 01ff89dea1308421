// The small window the game starts with: windowed or full-screen, then START.
#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace startup {

class StartupForm : public platform::Form {
public:
    StartupForm();
    void btnOK_Click();
    // Goes the way START goes with that option chosen, the window never shown; a second copy
    // still ends at once.
    void StartIn(bool fullScreen);

    platform::CommandButton btnOK;
    platform::OptionButton optW;
    platform::OptionButton optFS;

protected:
    void Form_Load() override;
};

extern StartupForm frmStartup;

}  // namespace startup
