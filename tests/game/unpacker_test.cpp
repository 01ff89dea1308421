// The unpacker: the path registry, the asset folder and its twelve files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "assets_table.h"
#include "platform/error.h"
#include "platform/files.h"
#include "unpacker_fixture.h"

namespace {

namespace fs = std::filesystem;
using assets::frmRES;

// The twelve asset files in the unpacker's field order.
std::string File(int i) {
    return std::string(assets::kAssetTable[i].file);
}

using testing_support::Unpacker;

TEST_F(Unpacker, SoundsAreWrittenBeforePictures) {
    // A folder in which the first picture cannot be written: the sounds are all there already.
    fs::create_directories(Folder() / "BalEksplozija.bmp" / "blocker");
    fs::permissions(Folder(), fs::perms::owner_all);
    EXPECT_THROW(frmRES.Show(), platform::RuntimeError);
    for (int i = 1; i < 12; ++i) EXPECT_EQ(fs::exists(Folder() / File(i)), i >= 6) << File(i);
}

TEST_F(Unpacker, FillsTheRegistryAndClosesOnItsFirstTick) {
    Start();
    EXPECT_FALSE(frmRES.Loaded());
    EXPECT_TRUE(game::frmMAIN.Loaded());
    // The paths of the twelve files and their folder; resources found by name and type in any case.
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(frmRES.Text(n), (Folder() / File(n - 1)).string());
    EXPECT_EQ(frmRES.Text(assets::kAssetFolder), (Folder() / "").string());
    EXPECT_TRUE(platform::FileHasBytes(frmRES.Text(assets::kBalloonSheet),
                                       assets::LoadResData("BALONI", "bmp")));
    EXPECT_TRUE(platform::FileHasBytes(frmRES.Text(9), assets::LoadResData("promasaj", "WAV")));
    EXPECT_THROW(assets::LoadResData("Baloni", "WAV"), platform::RuntimeError);
}

TEST_F(Unpacker, AnyTemporaryPathUpToTheLongestIsUsedAndALongerOneIsRefused) {
    // 100 characters with the separator: the old buffer's limit, once unpacked into ./Puffpop.
    const fs::path atOldLimit = temp_.Path() / std::string(98 - temp_.Path().string().size(), 'x');
    fs::create_directory(atOldLimit);
    const fs::path cwd = fs::current_path();
    fs::current_path(temp_.Path());
    Desktop().tempFolder = atOldLimit;
    frmRES.Show();
    EXPECT_EQ(frmRES.Text(assets::kAssetFolder), (atOldLimit / "Puffpop" / "").string());
    EXPECT_TRUE(fs::exists(atOldLimit / "Puffpop" / "Kraj.wav"));
    frmRES.Unload();
    Desktop().tempFolder = temp_.Path() / std::string(5000, 'y');
    EXPECT_THAT([] { frmRES.Show(); },
                testing::ThrowsMessage<platform::RuntimeError>(
                    testing::HasSubstr("longer than the system's path limit")));
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(Folder())) << "unpacked where the game was started";
}

TEST_F(Unpacker, ANewRunWritesNothingInAnIntactFolderAndMendsADamagedOne) {
    // Every asset dated long ago, to the second that every file system keeps: a file written
    // again is dated now.
    const fs::file_time_type old = std::chrono::floor<std::chrono::seconds>(
        fs::file_time_type::clock::now() - std::chrono::hours(24 * 365));
    const auto stamps = [&] {
        std::vector<bool> all;
        for (const auto& asset : assets::kAssetTable)
            all.push_back(fs::exists(Folder() / asset.file) &&
                          fs::last_write_time(Folder() / asset.file) == old);
        return all;
    };
    Start();
    for (const auto& asset : assets::kAssetTable) fs::last_write_time(Folder() / asset.file, old);
    NewRun();
    EXPECT_EQ(stamps(), std::vector<bool>(12, true));

    // What runs can leave: a missing, a cut-off and an altered file, a temporary file of a run
    // killed mid-write, and a folder at a name.
    fs::remove(Folder() / "Kraj.wav");
    fs::resize_file(Folder() / "Baloni.bmp", 1000);
    std::ofstream(Folder() / "Nishan.bmp", std::ios::binary | std::ios::in) << "XX";
    for (const char* name : {".tmp-a1B2c3", ".tmp-mine.txt"}) std::ofstream(Folder() / name) << "x";
    fs::remove(Folder() / "Oblaci.bmp");
    fs::create_directory(Folder() / "Oblaci.bmp");
    NewRun();
    for (const auto& asset : assets::kAssetTable)
        EXPECT_TRUE(platform::FileHasBytes((Folder() / asset.file).string(),
                                           assets::LoadResData(asset.name, asset.type)))
            << asset.file;
    EXPECT_FALSE(fs::exists(Folder() / ".tmp-a1B2c3"));
    EXPECT_TRUE(fs::exists(Folder() / ".tmp-mine.txt")) << "not a name of ours";
}

}  // namespace
