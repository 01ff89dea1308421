#include "frmRES.h"

#include <iterator>
#include <utility>
#include <vector>

#include "assets_table.h"
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

// The assets fill registry fields 1 to 12 in the table's order.
constexpr size_t kAssets = std::size(kAssetTable);
static_assert(kAssets == 12);
static_assert(kAssetTable[kBurstSheet - 1].file == "BalEksplozija.bmp" &&
                  kAssetTable[kBurstMask - 1].file == "BalEksplozijaM.bmp" &&
                  kAssetTable[kBalloonSheet - 1].file == "Baloni.bmp" &&
                  kAssetTable[kBalloonMask - 1].file == "BaloniM.bmp" &&
                  kAssetTable[kCrosshairSheet - 1].file == "Nishan.bmp" &&
                  kAssetTable[kSky - 1].file == "Oblaci.bmp",
              "the pictures' fields name other files than resources/assets.txt puts there");

// Sounds first, then pictures.
constexpr int kWriteOrder[] = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};

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

platform::Picture UnpackerForm::LoadPicture(int n) {
    const std::string& path = Text(n);
    const std::vector<uint8_t> checked = std::exchange(checked_.at(static_cast<size_t>(n - 1)), {});
    return checked.empty() ? platform::LoadPicture(path) : platform::DecodePicture(path, checked);
}

void UnpackerForm::Form_Load() {
    checked_ = {};
    // A buffer as long as any path: a 100-character one left a longer temporary directory
    // unread, and the game unpacked into "Puffpop" under whatever folder it was started from.
    std::vector<char> buffer(platform::MaxPath());
    if (platform::GetTempPathA(platform::MaxPath(), buffer.data()) >= platform::MaxPath()) {
        throw platform::RuntimeError(
            platform::kFileAccess,
            "The temporary directory is longer than the system's path limit (" +
                std::to_string(platform::MaxPath()) + " characters): set TMPDIR to a shorter path");
    }
    const std::string folder = std::string(buffer.data()) + "Puffpop";

    for (size_t i = 0; i < kAssets; ++i)
        Field(static_cast<int>(i) + 1).Text =
            folder + platform::PathSeparator() + std::string(kAssetTable[i].file);
    Field(kAssetFolder).Text = folder + platform::PathSeparator();

    platform::FileSystemObject fso;
    if (!fso.FolderExists(folder)) {
        fso.CreateFolder(folder);
        ResCopy();
    } else {
        // A folder someone else could have planted or can write into is never used.
        platform::CheckPrivateFolder(folder);
        // The first load of a run also mends what an interrupted run left: files missing or cut
        // off, and temporary files; later reloads keep to the cheap test above.
        if (folder != verifiedFolder_) {
            platform::RemoveStaleTemporaries(folder);
            ResCopy();
        }
    }
    verifiedFolder_ = folder;
    Command1_Click();
}

void UnpackerForm::ResCopy() {
    std::vector<std::vector<uint8_t>> data;
    for (const AssetRow& asset : kAssetTable) data.push_back(LoadResData(asset.name, asset.type));

    for (int i : kWriteOrder) {
        const std::string& path = Field(i + 1).Text;
        // Only files that are missing or differ are written, each under a temporary name
        // first, so no partial file ever stands under an asset's name. A FIFO, device or folder
        // at the name differs too, and is replaced.
        if (!platform::FileHasBytes(path, data[i])) platform::WriteFileAtomic(path, data[i]);
    }
    // The files now hold these bytes: the pictures are decoded from them, not read back.
    for (size_t i = 0; i < checked_.size(); ++i) checked_[i] = std::move(data[i]);
}

void UnpackerForm::Command1_Click() {
    game::frmMAIN.Show();
}

void UnpackerForm::Timer1_Timer() {
    Unload();
}

}  // namespace assets
