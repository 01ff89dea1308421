// The fatal-error report: Windows' own message box, over the game's windows hidden.
#include "platform/form.h"
#include "platform/host.h"
#include "platform/identity.h"
#include "win32_host.h"

namespace platform {

void host::ShowErrorReport(const std::string& message) {
    // A full-screen game window would otherwise cover the box.
    for (Form* form : LoadedForms())
        if (form->Window()) form->Window()->Hide();
    // Wide: the message may quote a path with any user's name in it.
    MessageBoxW(nullptr, win32::Wide(message).c_str(), win32::Wide(Program().title).c_str(),
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

}  // namespace platform
