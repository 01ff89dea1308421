// The game carries on when the machine lets it down: no sound device, the asset folder or one
// of its files gone while it plays, and files left damaged by an earlier run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "assets/frmRES.h"
#include "game_fixture.h"
#include "platform/cursor.h"
#include "platform/picture.h"
#include "platform/sound.h"

namespace {

namespace fs = std::filesystem;
using namespace game::basBALLOON;
using game::frmMAIN;
using testing_support::GameTest;

const char* const kAssets[] = {"BalEksplozija.bmp", "BalEksplozijaM.bmp", "Baloni.bmp",
                               "BaloniM.bmp",       "Nishan.bmp",         "Oblaci.bmp",
                               "Eksplozija.wav",    "Kraj.wav",           "Promasaj.wav",
                               "PucanjB.wav",       "PucanjSB.wav",       "Start.wav"};

fs::path Shipped(const char* file) {
    return fs::path(PUFFPOP_SOURCE_DIR) / "resources" / file;
}

std::vector<char> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool SamePixels(const platform::Surface& a, const platform::Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.Row(y), a.Row(y) + a.Width(), b.Row(y))) return false;
    return true;
}

// Plays through another SDL audio driver while it lives; the player opens its device afresh.
class AudioDriver {
public:
    explicit AudioDriver(const char* driver) {
        if (const char* old = std::getenv("SDL_AUDIODRIVER")) old_ = old;
        platform::ShutdownSound();
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~AudioDriver() {
        platform::ShutdownSound();
        if (old_)
            setenv("SDL_AUDIODRIVER", old_->c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }

private:
    std::optional<std::string> old_;
};

class Robustness : public GameTest {
protected:
    fs::path Folder() const { return temp_.Path() / "Puffpop"; }
    // A flying balloon at (200, 200) once the next tick has moved it, with the pointer on it.
    void BalloonInTheSights(int slot) {
        Fly(slot, 1, 200, 205, 5);
        MoveTo(240, 240);
    }
};

TEST_F(Robustness, WithoutASoundDeviceARoundPlaysThroughSilently) {
    AudioDriver none("none");
    random_.fallback = 0.99f;  // no launches
    MoveTo(240, 240);
    Tick(4);  // the reload clock fills on the attract screen
    Press(1);
    Tick();  // the start cue is synchronous: with no device it must not hold the tick
    Release(1);
    ASSERT_EQ(bPlaying, platform::True);
    BalloonInTheSights(0);
    Press(1);
    Tick(4);  // the fourth tick has reloaded and fires
    Release(1);
    Press(2);
    Tick(4);
    Release(2);
    game::Integer esc = 27;
    frmMAIN.Form_KeyUp(esc, 0);

    const std::vector<std::pair<std::string, int32_t>> cues = {
        {"Start.wav", 2},      {"PucanjB.wav", 3},  {"PucanjB.wav", 3},
        {"Eksplozija.wav", 3}, {"PucanjSB.wav", 3}, {"Kraj.wav", 3}};
    const auto& log = platform::SoundRequests();
    ASSERT_EQ(log.size(), cues.size());
    for (size_t i = 0; i < cues.size(); ++i) {
        EXPECT_EQ(log[i].path, (Folder() / cues[i].first).string()) << i;
        EXPECT_EQ(log[i].flags, cues[i].second) << i;
    }
    EXPECT_EQ(platform::NowPlaying(), "");
    EXPECT_EQ(platform::QueuedSoundBytes(), 0u);
    EXPECT_EQ(lScore, 200);
    EXPECT_EQ(iBombs, 2);
    Tick();
    EXPECT_EQ(bGameOver, platform::True) << "the game-over screen runs as usual";
}

TEST_F(Robustness, AnAssetFolderDeletedMidRoundComesBackWithTheNextCueAndTheRoundGoesOn) {
    random_.fallback = 0.99f;
    bPlaying = platform::True;
    iSpawnDelay = 160;  // a reset of the round would put 300 back
    lScore = 1000;
    Tick(3);
    fs::remove_all(Folder());
    Tick(2);
    EXPECT_FALSE(fs::exists(Folder())) << "only a cue reads the registry";

    BalloonInTheSights(4);
    iReload = 180;
    Press(1);
    Tick();
    Release(1);
    for (const char* file : kAssets) EXPECT_EQ(Read(Folder() / file), Read(Shipped(file))) << file;
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjB.wav", "Eksplozija.wav"}));
    EXPECT_TRUE(assets::frmRES.Loaded());
    EXPECT_FALSE(assets::frmRES.Visible());

    // The game window was only shown again, not loaded again: the round is the same round.
    EXPECT_EQ(bPlaying, platform::True);
    EXPECT_EQ(Balloons[4].Bursting, platform::True);
    EXPECT_EQ(lScore, 1200);
    EXPECT_EQ(iSpawnDelay, 160);
    EXPECT_EQ(iBombs, 3);
    EXPECT_EQ(platform::CursorDisplayCount(), -1);
    EXPECT_TRUE(platform::CursorClip().has_value());

    assets::frmRES.Timer1_Timer();  // its timer closes it again
    EXPECT_FALSE(assets::frmRES.Loaded());
    Tick(10);
    EXPECT_EQ(bPlaying, platform::True);
    EXPECT_EQ(Balloons[4].Bursting, 0) << "the burst played out";
}

TEST_F(Robustness, ASoundFileLostMidRoundSilencesOnlyItsOwnCue) {
    AudioDriver dummy("dummy");  // a device that really plays, so silence can be told apart
    random_.fallback = 0.99f;
    bPlaying = platform::True;  // no start cue: played synchronously it would hold the test
    MoveTo(600, 40);
    iReload = 180;
    Press(1);
    Tick();
    Release(1);
    assets::frmRES.Timer1_Timer();  // closed again, so the next cue loads it afresh

    fs::remove(Folder() / "Kraj.wav");
    game::Integer esc = 27;
    frmMAIN.Form_KeyUp(esc, 0);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"PucanjB.wav", "Kraj.wav"}));
    // The shot's sound, half a second long, is cut off and the lost cue leaves silence.
    EXPECT_EQ(platform::NowPlaying(), "");
    EXPECT_FALSE(fs::exists(Folder() / "Kraj.wav")) << "a folder that exists is not rewritten";
    EXPECT_EQ(bGameOver, platform::True);
    assets::frmRES.Timer1_Timer();
    Tick(45);
    EXPECT_EQ(bGameOver, 0) << "the game-over screen ran its course";
}

// What an interrupted earlier run may leave: a picture cut off, one altered in place, a sound
// emptied and a picture missing. The first start of a run mends them before any picture loads.
class LeftDamaged : public Robustness {
protected:
    void SetUp() override {
        fs::create_directory(Folder());
        fs::permissions(Folder(), fs::perms::owner_all);
        for (const char* file : kAssets) fs::copy_file(Shipped(file), Folder() / file);
        fs::resize_file(Folder() / "Oblaci.bmp", 1000);
        {
            std::fstream baloni(Folder() / "Baloni.bmp",
                                std::ios::binary | std::ios::in | std::ios::out);
            baloni.seekp(40'000);
            baloni << std::string(5'000, '\x7f');
        }
        std::ofstream(Folder() / "Start.wav", std::ios::trunc);
        fs::remove(Folder() / "Nishan.bmp");
        GameTest::SetUp();
    }
};

TEST_F(LeftDamaged, TheGameLoadsTheMendedPicturesAndPlays) {
    for (const char* file : kAssets) EXPECT_EQ(Read(Folder() / file), Read(Shipped(file))) << file;
    EXPECT_TRUE(SamePixels(*frmMAIN.pic_BG.hDC(), *platform::LoadPicture(Shipped("Oblaci.bmp"))));
    EXPECT_TRUE(
        SamePixels(*frmMAIN.pic_Balloons.hDC(), *platform::LoadPicture(Shipped("Baloni.bmp"))));
    EXPECT_TRUE(
        SamePixels(*frmMAIN.pic_Crosshair.hDC(), *platform::LoadPicture(Shipped("Nishan.bmp"))));
    MoveTo(320, 240);
    Press(1);
    Tick(2);
    EXPECT_EQ(bPlaying, platform::True);
}

}  // namespace
