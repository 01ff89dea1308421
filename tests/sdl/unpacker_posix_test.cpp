// The unpacker's choice of folder where the temporary directory comes from POSIX variables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <vector>

#include "assets/catalogue.h"
#include "assets_table.h"
#include "platform/error.h"
#include "platform/files.h"
#include "unpacker_fixture.h"

namespace {

namespace fs = std::filesystem;
using assets::frmRES;
using testing_support::Unpacker;

TEST_F(Unpacker, AnyTemporaryPathUpToTheSystemLimitIsUsedAndALongerOneNamesTmpdir) {
    // 100 characters once "/" is added: the old buffer's limit, once unpacked into ./Puffpop.
    const fs::path atOldLimit = temp_.Path() / std::string(98 - temp_.Path().string().size(), 'x');
    fs::create_directory(atOldLimit);
    const fs::path cwd = fs::current_path();
    fs::current_path(temp_.Path());
    temp_.SetEnv("TMPDIR", atOldLimit);
    frmRES.Show();
    EXPECT_EQ(frmRES.Text(assets::kAssetFolder), (atOldLimit / "Puffpop/").string());
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
    EXPECT_EQ(frmRES.Text(assets::kAssetFolder), (ours / "Puffpop/").string());
    EXPECT_EQ(fs::status(ours).permissions(), fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(ours / "Puffpop"), {}), 12);
    EXPECT_TRUE(fs::is_empty(theirs));
}

TEST_F(Unpacker, ANewRunWritesNothingInAnIntactFolderAndMendsADamagedOne) {
    // Every asset's inode and modification time: a file written again gets a new inode.
    const auto stamps = [&] {
        std::vector<std::tuple<ino_t, time_t, long>> all;
        for (struct stat s{}; const auto& asset : assets::kAssetTable)
            if (lstat((Folder() / asset.file).c_str(), &s) == 0)
                all.emplace_back(s.st_ino, s.st_mtim.tv_sec, s.st_mtim.tv_nsec);
        return all;
    };
    Start();
    const auto intact = stamps();
    NewRun();
    EXPECT_EQ(stamps(), intact);

    // What runs can leave: a missing, a cut-off and an altered file, a temporary file of a run
    // killed mid-write; and a FIFO (it once held the game in open()) and a folder at a name.
    fs::remove(Folder() / "Kraj.wav");
    fs::resize_file(Folder() / "Baloni.bmp", 1000);
    std::ofstream(Folder() / "Nishan.bmp", std::ios::binary | std::ios::in) << "XX";
    for (const char* name : {".tmp-a1B2c3", ".tmp-mine.txt"}) std::ofstream(Folder() / name) << "x";
    fs::remove(Folder() / "Start.wav");
    ASSERT_EQ(mkfifo((Folder() / "Start.wav").c_str(), 0600), 0);
    fs::remove(Folder() / "Oblaci.bmp");
    fs::create_directory(Folder() / "Oblaci.bmp");
    NewRun();
    for (const auto& asset : assets::kAssetTable)
        EXPECT_TRUE(platform::FileHasBytes(Folder() / asset.file,
                                           assets::LoadResData(asset.name, asset.type)))
            << asset.file;
    EXPECT_FALSE(fs::exists(Folder() / ".tmp-a1B2c3"));
    EXPECT_TRUE(fs::exists(Folder() / ".tmp-mine.txt")) << "not a name of ours";
}

}  // namespace
