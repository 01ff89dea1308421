// The unpacker: the path registry, the asset folder and its twelve files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

}  // namespace
