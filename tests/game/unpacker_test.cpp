// The unpacker: the path registry, the asset folder and its twelve files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "assets/catalogue.h"
#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/error.h"
#include "unpacker_fixture.h"

namespace {

namespace fs = std::filesystem;
using assets::frmRES;

const char* const kFiles[] = {"BalEksplozija.bmp", "BalEksplozijaM.bmp", "Baloni.bmp",
                              "BaloniM.bmp",       "Nishan.bmp",         "Oblaci.bmp",
                              "Eksplozija.wav",    "Kraj.wav",           "Promasaj.wav",
                              "PucanjB.wav",       "PucanjSB.wav",       "Start.wav"};

std::vector<uint8_t> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
using testing_support::Unpacker;

TEST_F(Unpacker, AnIntactFolderIsLeftAloneAndADamagedOneMended) {
    Start();
    struct stat before = {}, after = {};
    ASSERT_EQ(stat((Folder() / "Oblaci.bmp").c_str(), &before), 0);
    Start();  // a second run of the game
    ASSERT_EQ(stat((Folder() / "Oblaci.bmp").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);

    // An interrupted run's leftovers: a missing, a cut-off and an altered file.
    fs::remove(Folder() / "Kraj.wav");
    fs::resize_file(Folder() / "Baloni.bmp", 1000);
    { std::ofstream(Folder() / "Nishan.bmp", std::ios::binary | std::ios::in) << "XX"; }
    TearDown();
    // The next start is a new run of the program; its unpacker checks every file again.
    assets::UnpackerForm fresh;
    fresh.Show();
    fresh.Timer1_Timer();
    for (const char* file : kFiles)
        EXPECT_EQ(Read(Folder() / file), Read(fs::path(PUFFPOP_SOURCE_DIR) / "resources" / file))
            << file;
}

TEST_F(Unpacker, SoundsAreWrittenBeforePictures) {
    // A folder in which the first picture cannot be written: the sounds are all there already.
    fs::create_directories(Folder() / "BalEksplozija.bmp" / "blocker");
    fs::permissions(Folder(), fs::perms::owner_all);
    EXPECT_THROW(frmRES.Show(), platform::RuntimeError);
    for (int i = 1; i < 12; ++i) EXPECT_EQ(fs::exists(Folder() / kFiles[i]), i >= 6) << kFiles[i];
}

TEST_F(Unpacker, FillsTheRegistryAndClosesOnItsFirstTick) {
    Start();
    EXPECT_FALSE(frmRES.Loaded());
    EXPECT_TRUE(game::frmMAIN.Loaded());
    // The paths of the twelve files and their folder; resources found by name and type in any case.
    for (int n = 1; n <= 12; ++n) EXPECT_EQ(frmRES.Text(n), (Folder() / kFiles[n - 1]).string());
    EXPECT_EQ(frmRES.Text(13), Folder().string() + "/");
    EXPECT_EQ(assets::LoadResData("BALONI", "bmp"), Read(frmRES.Text(3)));
    EXPECT_EQ(assets::LoadResData("promasaj", "WAV"), Read(frmRES.Text(9)));
    EXPECT_THROW(assets::LoadResData("Baloni", "WAV"), platform::RuntimeError);
}

}  // namespace
