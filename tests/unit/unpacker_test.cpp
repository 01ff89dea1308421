// The unpacker: the path registry, the asset folder and its twelve files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "assets/PlaySnd.h"
#include "assets/catalogue.h"
#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/error.h"
#include "platform/sound.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using assets::frmRES;
using testing_support::TempDir;

const char* const kFiles[] = {"BalEksplozija.bmp", "BalEksplozijaM.bmp", "Baloni.bmp",
                              "BaloniM.bmp",       "Nishan.bmp",         "Oblaci.bmp",
                              "Eksplozija.wav",    "Kraj.wav",           "Promasaj.wav",
                              "PucanjB.wav",       "PucanjSB.wav",       "Start.wav"};

std::vector<uint8_t> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Unpacker : public ::testing::Test {
protected:
    void SetUp() override { temp_.UseAsTemp(); }
    void TearDown() override {
        game::frmMAIN.Unload();
        frmRES.Unload();
    }
    fs::path Folder() const { return temp_.Path() / "Puffpop"; }
    // One start of the game's unpacker, closed again as by its first tick.
    void Start() {
        frmRES.Show();
        frmRES.Timer1_Timer();
    }
    TempDir temp_;
};

TEST_F(Unpacker, FirstStartWritesTheTwelveStoredAssetsAndFillsTheRegistry) {
    Start();
    const std::string folder = Folder().string();
    EXPECT_EQ(fs::status(Folder()).permissions() & fs::perms::all, fs::perms::owner_all);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(Folder())) (void)entry, ++files;
    EXPECT_EQ(files, 12);
    const std::vector<std::pair<const char*, const char*>> stored = {
        {"BalEksplozija", "BMP"}, {"BalEksplozijaM", "bmp"}, {"BALONI", "BMP"},
        {"baloniM", "BMP"},       {"Nishan", "BMP"},         {"Oblaci", "BMP"},
        {"EKSPLOZIJA", "WAV"},    {"Kraj", "WAV"},           {"promasaj", "wav"},
        {"PucanjB", "WAV"},       {"PucanjSB", "WAV"},       {"Start", "WAV"}};
    for (int n = 1; n <= 12; ++n) {
        const std::string& path = frmRES.Text(n);
        EXPECT_EQ(path, folder + "/" + kFiles[n - 1]);
        const fs::path source = fs::path(PUFFPOP_SOURCE_DIR) / "resources" / kFiles[n - 1];
        EXPECT_EQ(Read(path), Read(source)) << path;
        EXPECT_EQ(Read(path), assets::LoadResData(stored[n - 1].first, stored[n - 1].second));
    }
    EXPECT_EQ(frmRES.Text(13), folder + "/");
    EXPECT_THROW(assets::LoadResData("Baloni", "WAV"), platform::RuntimeError);
}

TEST_F(Unpacker, AnIntactFolderIsLeftAloneAndADamagedOneMended) {
    Start();
    struct stat before {};
    ASSERT_EQ(stat((Folder() / "Oblaci.bmp").c_str(), &before), 0);
    Start();  // a second run of the game
    struct stat after {};
    ASSERT_EQ(stat((Folder() / "Oblaci.bmp").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);

    // An interrupted run's leftovers: a missing, a cut-off and an altered file.
    fs::remove(Folder() / "Kraj.wav");
    fs::resize_file(Folder() / "Baloni.bmp", 1000);
    { std::ofstream(Folder() / "Nishan.bmp", std::ios::binary | std::ios::in) << "XX"; }
    game::frmMAIN.Unload();
    frmRES.Unload();
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
    fs::create_directory(Folder());
    fs::permissions(Folder(), fs::perms::owner_all);
    fs::create_directories(Folder() / "BalEksplozija.bmp" / "blocker");
    EXPECT_THROW(frmRES.Show(), platform::RuntimeError);
    for (int i = 6; i < 12; ++i) EXPECT_TRUE(fs::exists(Folder() / kFiles[i])) << kFiles[i];
    for (int i = 1; i < 6; ++i) EXPECT_FALSE(fs::exists(Folder() / kFiles[i])) << kFiles[i];
}

TEST_F(Unpacker, RefusesAFolderOthersCouldTamperWith) {
    const fs::path elsewhere = temp_.Path() / "elsewhere";
    fs::create_directory(elsewhere);
    fs::create_directory_symlink(elsewhere, Folder());
    try {
        frmRES.Show();
        FAIL() << "a symbolic link was used";
    } catch (const platform::RuntimeError& error) {
        EXPECT_NE(std::string(error.what()).find(Folder().string()), std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty(elsewhere));
    frmRES.Unload();

    fs::remove(Folder());
    fs::create_directory(Folder());
    fs::permissions(Folder(), fs::perms::all);
    EXPECT_THROW(frmRES.Show(), platform::RuntimeError);
    EXPECT_TRUE(fs::is_empty(Folder()));
}

TEST_F(Unpacker, AnyTemporaryPathUpToTheSystemLimitIsUsedAndALongerOneNamesTmpdir) {
    // 100 characters once "/" is added: the old buffer's limit, once unpacked into ./Puffpop.
    const fs::path atOldLimit = temp_.Path() / std::string(98 - temp_.Path().string().size(), 'x');
    const fs::path tooLong = temp_.Path() / std::string(5000, 'y');
    fs::create_directory(atOldLimit);
    const fs::path cwd = fs::current_path();
    fs::current_path(temp_.Path());
    setenv("TMPDIR", atOldLimit.c_str(), 1);
    frmRES.Show();
    EXPECT_EQ(frmRES.Text(13), (atOldLimit / "Puffpop/").string());
    EXPECT_TRUE(fs::exists(atOldLimit / "Puffpop" / "Kraj.wav"));
    frmRES.Unload();
    setenv("TMPDIR", tooLong.c_str(), 1);
    try {
        frmRES.Show();
        ADD_FAILURE() << "no error";
    } catch (const platform::RuntimeError& error) {
        EXPECT_NE(std::string(error.what()).find("TMPDIR"), std::string::npos) << error.what();
    }
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Puffpop")) << "unpacked where the game was started";
}

TEST_F(Unpacker, WithoutTemporaryVariablesEachUserUnpacksIntoAFolderOfTheirOwn) {
    unsetenv("TMPDIR");
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = runtime ? runtime : "";
    unsetenv("XDG_RUNTIME_DIR");
    // Another user's folders in the shared temporary folder: where all users once shared one,
    // and that user's own. As root (CI) they really belong to someone else.
    const fs::path theirs = temp_.Path() / "puffpop-4242" / "Puffpop";
    for (const fs::path& folder : {temp_.Path() / "Puffpop", theirs}) {
        fs::create_directories(folder);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(folder.c_str(), 4242, 4242), 0);
        }
    }
    frmRES.Show();
    if (!savedRuntime.empty()) setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    const fs::path ours = temp_.Path() / ("puffpop-" + std::to_string(geteuid()));
    EXPECT_EQ(frmRES.Text(13), (ours / "Puffpop/").string());
    EXPECT_EQ(fs::status(ours).permissions(), fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(ours / "Puffpop"), {}), 12);
    EXPECT_TRUE(fs::is_empty(theirs));
}

TEST_F(Unpacker, ClosesOnItsFirstTickAndComesBackForTheNextCue) {
    Start();
    EXPECT_FALSE(frmRES.Loaded());
    EXPECT_TRUE(game::frmMAIN.Loaded());
    // The folder vanishes while the game runs: the next cue puts it back, then plays.
    fs::remove_all(Folder());
    platform::ClearSoundRequests();
    assets::PlaySnd("Kraj.wav", 3);
    EXPECT_TRUE(frmRES.Loaded()) << "reloaded, hidden";
    EXPECT_FALSE(frmRES.Visible());
    for (const char* file : kFiles) EXPECT_TRUE(fs::exists(Folder() / file)) << file;
    ASSERT_EQ(platform::SoundRequests().size(), 1u);
    EXPECT_EQ(platform::SoundRequests()[0].path, (Folder() / "Kraj.wav").string());
    EXPECT_EQ(platform::SoundRequests()[0].flags, 3);
    frmRES.Timer1_Timer();
    EXPECT_FALSE(frmRES.Loaded());
}

}  // namespace
