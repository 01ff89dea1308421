// The unpacker: writes the embedded assets into the asset folder and keeps their paths.
//
// It is never seen. Loaded by the start button, it fills the path registry Text1 to Text13,
// makes sure the asset files are in place, shows the game window and closes itself on its first
// timer tick. Reading the registry while it is closed loads it again, hidden, which runs the
// whole load sequence once more.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/picture.h"

namespace assets {

// The registry's fields by what each path holds, numbered as the design numbers Text1 to Text13:
// the six pictures, the six sounds (7 to 12, only ever written), then the folder.
enum RegistryField : int {
    kBurstSheet = 1,      // BalEksplozija.bmp: a balloon bursting, frame by frame
    kBurstMask = 2,       // BalEksplozijaM.bmp
    kBalloonSheet = 3,    // Baloni.bmp: the balloons in their poses
    kBalloonMask = 4,     // BaloniM.bmp
    kCrosshairSheet = 5,  // Nishan.bmp: the crosshairs with their masks
    kSky = 6,             // Oblaci.bmp: the background under every frame
    kAssetFolder = 13,    // the folder and a separator: a sound's path is this and its file name
};

class UnpackerForm : public platform::Form {
public:
    UnpackerForm();

    // The Text of registry field Text<n> (1 to 13); loads the unpacker first when it is closed.
    const std::string& Text(int n);

    // The picture of registry field n (kBurstSheet to kSky), decoded from the very bytes this load
    // compared with the embedded copy, so nothing swapped in after the check is ever shown; when
    // this load checked nothing, from the file as it stands.
    platform::Picture LoadPicture(int n);

    void Command1_Click();
    void Timer1_Timer();

protected:
    void Form_Load() override;

private:
    void ResCopy();
    platform::TextBox& Field(int n) { return *fields_.at(static_cast<size_t>(n - 1)); }

    platform::Timer Timer1;
    platform::CommandButton Command1;
    std::array<std::unique_ptr<platform::TextBox>, 13> fields_;
    std::string verifiedFolder_;                   // whose files this run has already checked
    std::array<std::vector<uint8_t>, 6> checked_;  // the pictures' bytes, until they are loaded
};

extern UnpackerForm frmRES;

}  // namespace assets
