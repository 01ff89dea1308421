#include "basDisplay.h"

#include "platform/constants.h"

namespace startup::basDisplay {

void SetDisplayMode(platform::Single& width, platform::Single& height) {
    platform::EnumDisplaySettingsA(nullptr, 0, &dmDisplay);
    dmDisplay.dmFields = platform::DM_PELSWIDTH | platform::DM_PELSHEIGHT;
    dmDisplay.dmPelsWidth = static_cast<uint32_t>(platform::CLng(static_cast<double>(width)));
    dmDisplay.dmPelsHeight = static_cast<uint32_t>(platform::CLng(static_cast<double>(height)));
    platform::ChangeDisplaySettingsA(&dmDisplay, platform::CDS_FULLSCREEN);
}

}  // namespace startup::basDisplay
