#include "frmRES.h"

#include <vector>

#include "catalogue.h"
#include "game/frmMAIN.h"
#include "platform/error.h"
#include "platform/files.h"

namespace assets {

namespace {

platform::FormDesign MakeDesign() {
    platform::FormDesign design;
    design.border = platform::BorderStyle::None;
    design.clientWidth = 6;
    design.clientHeight = 6;
    design.left = 16260;
    design.top = 13185;
    design.onScreen = false;  // nothing of it is ever visible, so it needs no window
    return design;
}

// Registry field, file name, and the resource written into it, in the order of the fields.
struct Slot {
    int field;
    const char* file;
    const char* name;
    const char* type;
};

constexpr Slot kSlots[] = {
    {1, "BalEksplozija.bmp", "BalEksplozija", "BMP"},
    {2, "BalEksplozijaM.bmp", "BalEksplozijaM", "BMP"},
    {3, "Baloni.bmp", "Baloni", "BMP"},
    {4, "BaloniM.bmp", "BaloniM", "BMP"},
    {5, "Nishan.bmp", "Nishan", "BMP"},
    {6, "Oblaci.bmp", "Oblaci", "BMP"},
    {7, "Eksplozija.wav", "EKSPLOZIJA", "WAV"},
    {8, "Kraj.wav", "Kraj", "WAV"},
    {9, "Promasaj.wav", "Promasaj", "WAV"},
    {10, "PucanjB.wav", "PucanjB", "WAV"},
    {11, "PucanjSB.wav", "PucanjSB", "WAV"},
    {12, "Start.wav", "Start", "WAV"},
};

// Sounds first, then pictures.
constexpr int kWriteOrder[] = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};

constexpr char kSeparator = '/';

}  // namespace

UnpackerForm frmRES;

UnpackerForm::UnpackerForm()
    : Form(MakeDesign()),
      Timer1(*this, 1, true, [this] { Timer1_Timer(); }),
      Command1(*this, 0, "START", {8, 328, 297, 33}, [this] { Command1_Click(); }) {
    for (int n = 1; n <= 13; ++n)
        fields_[n - 1] = std::make_unique<platform::TextBox>(*this, n, "Text" + std::to_string(n));
}

const std::string& UnpackerForm::Text(int n) {
    if (!Loaded()) Load();
    return Field(n).Text;
}

void UnpackerForm::Form_Load() {
    // A buffer as long as any path: a 100-character one left a longer temporary directory
    // unread, and the game unpacked into "Puffpop" under whatever folder it was started from.
    std::vector<char> buffer(platform::kMaxPath);
    if (platform::GetTempPathA(platform::kMaxPath, buffer.data()) >= platform::kMaxPath) {
        throw platform::RuntimeError(
            platform::kFileAccess,
            "The temporary directory is longer than the system's path limit (" +
                std::to_string(platform::kMaxPath) + " characters): set TMPDIR to a shorter path");
    }
    const std::string folder = std::string(buffer.data()) + "Puffpop";

    for (const Slot& slot : kSlots) Field(slot.field).Text = folder + kSeparator + slot.file;
    Field(13).Text = folder + kSeparator;

    platform::FileSystemObject fso;
    if (!fso.FolderExists(folder)) {
        fso.CreateFolder(folder);
        ResCopy();
    } else {
        // A folder someone else could have planted or can write into is never used.
        platform::CheckPrivateFolder(folder);
        // The first load of a run also mends files an interrupted run left missing or cut
        // off; later reloads keep to the cheap test above.
        if (folder != verifiedFolder_) ResCopy();
    }
    verifiedFolder_ = folder;
    Command1_Click();
}

void UnpackerForm::ResCopy() {
    std::vector<std::vector<uint8_t>> data;
    for (const Slot& slot : kSlots) data.push_back(LoadResData(slot.name, slot.type));

    for (int i : kWriteOrder) {
        const std::string& path = Field(kSlots[i].field).Text;
        // Only files that are missing or differ are written, each under a temporary name
        // first, so no partial file ever stands under an asset's name.
        if (!platform::FileHasBytes(path, data[i])) platform::WriteFileAtomic(path, data[i]);
    }
}

void UnpackerForm::Command1_Click() {
    game::frmMAIN.Show();
}

void UnpackerForm::Timer1_Timer() {
    Unload();
}

}  // namespace assets
