// The unpacker: the path registry, the asset folder and its twelve files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "assets/catalogue.h"
#include "assets/frmRES.h"
#include "game/frmMAIN.h"
#include "platform/error.h"
#include "temp_dir.h"

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
    testing_support::TempDir temp_;
};

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

TEST_F(Unpacker, AnyTemporaryPathUpToTheSystemLimitIsUsedAndALongerOneNamesTmpdir) {
    // 100 characters once "/" is added: the old buffer's limit, once unpacked into ./Puffpop.
    const fs::path atOldLimit = temp_.Path() / std::string(98 - temp_.Path().string().size(), 'x');
    fs::create_directory(atOldLimit);
    const fs::path cwd = fs::current_path();
    fs::current_path(temp_.Path());
    temp_.SetEnv("TMPDIR", atOldLimit);
    frmRES.Show();
    EXPECT_EQ(frmRES.Text(13), (atOldLimit / "Puffpop/").string());
    EXPECT_TRUE(fs::exists(atOldLimit / "Puffpop" / "Kraj.wav"));
    frmRES.Unload();
    temp_.SetEnv("TMPDIR", temp_.Path() / std::string(5000, 'y'));
    EXPECT_THAT([] { frmRES.Show(); },
                testing::ThrowsMessage<platform::RuntimeError>(testing::HasSubstr("TMPDIR")));
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Puffpop")) << "unpacked where the game was started";
}

TEST_F(Unpacker, WithoutTemporaryVariablesEachUserUnpacksIntoAFolderOfTheirOwn) {
    temp_.SetEnv("TMPDIR", {});
    temp_.SetEnv("XDG_RUNTIME_DIR", {});
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
    const fs::path ours = temp_.Path() / ("puffpop-" + std::to_string(geteuid()));
    EXPECT_EQ(frmRES.Text(13), (ours / "Puffpop/").string());
    EXPECT_EQ(fs::status(ours).permissions(), fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(ours / "Puffpop"), {}), 12);
    EXPECT_TRUE(fs::is_empty(theirs));
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
