// Whole rounds through what the machine may do to the game: no sound device, or the asset folder
// deleted mid-round, and then maybe not to be made again. The unpacker and the sound player alone
// have tests of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "game_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace game::basBALLOON;
using platform::True;

using Robustness = testing_support::GameTest;

TEST_F(Robustness, AnAssetFolderDeletedMidRoundComesBackWithTheNextCueAndTheRoundGoesOn) {
    const fs::path folder = Folder();
    bPlaying = True;
    iSpawnDelay = 160;  // a reset of the round would put 300 back
    lScore = 1000;
    fs::remove_all(folder);
    Tick(2);
    EXPECT_FALSE(fs::exists(folder)) << "only a cue reads the registry";
    Fly(4, 1, 200, 205, 5);
    Shoot(240, 240);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 12);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjB.wav:3", "Eksplozija.wav:3"}));
    // The game window was only shown again, not loaded again: the same round goes on.
    EXPECT_EQ(bPlaying, True);
    EXPECT_EQ(Balloons[4].Bursting, True);
    EXPECT_EQ(lScore, 1200);
    EXPECT_EQ(iSpawnDelay, 160);
    EXPECT_EQ(testing_support::CursorCount(), -1);
    // A later cue trusts the folder it finds, so one file lost now stays lost, cue and all.
    assets::frmRES.Timer1_Timer();
    fs::remove(folder / "Kraj.wav");
    KeyUp(27);  // Esc
    EXPECT_FALSE(fs::exists(folder / "Kraj.wav"));
    EXPECT_EQ(bGameOver, True);
    assets::frmRES.Timer1_Timer();
    Tick(45);
    EXPECT_EQ(bGameOver, 0) << "the game-over screen ran its course";
}

TEST_F(Robustness, ACueWhoseFolderCannotComeBackIsSilentSaysSoOnceAndTheRoundGoesOn) {
    const fs::path folder = Folder();
    bPlaying = True;
    fs::remove_all(folder);
    std::ofstream(folder) << "x";  // the folder cannot be made again, as on a full disk
    // std::cerr's buffer rather than descriptor 2: emscripten's node runtime cannot redirect
    // a descriptor to a file made by mkstemp, and the game says this on std::cerr.
    std::ostringstream captured;
    const std::unique_ptr<std::streambuf, void (*)(std::streambuf*)> console(
        std::cerr.rdbuf(captured.rdbuf()), [](std::streambuf* kept) { std::cerr.rdbuf(kept); });
    for (int shot = 0; shot < 2; ++shot, assets::frmRES.Timer1_Timer()) Shoot(240, 240);
    const std::string said = captured.str();
    EXPECT_NE(said.find(folder.string()), std::string::npos);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << "once: " << said;
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(bPlaying, True);
}

}  // namespace
