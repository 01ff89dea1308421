#include "platform/files.h"
#include "platform/sdl/temp_folder.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include "file_checks.h"
#include "platform/single_copy.h"
#include "posix_temp.h"

namespace {

namespace fs = std::filesystem;
using Env = std::optional<std::string>;

using testing_support::Bytes;
using testing_support::Refused;

class FilesTest : public testing::Test {
protected:
    testing_support::PosixTemp temp_;
    const fs::path& dir_ = temp_.Path();
};

TEST_F(FilesTest, GetTempPathPrefersTmpdirThenXdgRuntimeDirThenAPrivateFolderOfTheUser) {
    temp_.UseAsTemp();  // the folder all users share: dir_
    const fs::path own = dir_ / ("puffpop-" + std::to_string(geteuid()));
    const std::tuple<Env, Env, std::string> cases[] = {{"/var/tmp", "/run/user/7", "/var/tmp/"},
                                                       {"", "/run/user/7/", "/run/user/7/"},
                                                       {{}, "/run/user/7", "/run/user/7/"},
                                                       {"", "", own.string() + "/"}};
    for (const auto& [tmpdir, xdg, expected] : cases) {
        temp_.SetEnv("TMPDIR", tmpdir);
        temp_.SetEnv("XDG_RUNTIME_DIR", xdg);
        char buffer[100] = {};
        EXPECT_EQ(platform::GetTempPathA(100, buffer), expected.size());
        EXPECT_EQ(std::string(buffer), expected);
    }
    // Someone else's link at this user's name is refused, not followed.
    fs::remove(own);
    fs::create_directory_symlink(dir_, own);
    char buffer[100] = {};
    EXPECT_THAT([&] { platform::GetTempPathA(100, buffer); }, Refused(own, "symbolic link"));
}

TEST_F(FilesTest, CreateFolderMakesAPrivateFolderAndTheCheckRefusesAnyOther) {
    const platform::FileSystemObject fso;
    const fs::path folder = dir_ / "Puffpop";
    fso.CreateFolder(folder);
    for (const fs::path& bad : {folder, dir_ / "missing" / "Puffpop"})
        EXPECT_THAT([&] { fso.CreateFolder(bad); }, Refused(bad, "create"));

    fs::create_directory_symlink(folder, dir_ / "link");
    std::ofstream(dir_ / "file") << "x";
    for (const char* name : {"group", "others"}) fso.CreateFolder(dir_ / name);
    fs::permissions(dir_ / "group", fs::perms::group_write, fs::perm_options::add);
    fs::permissions(dir_ / "others", fs::perms::others_write, fs::perm_options::add);
    const std::pair<const char*, const char*> refused[] = {{"link", "symbolic link"},
                                                           {"file", "not a directory"},
                                                           {"group", "writable"},
                                                           {"others", "writable"}};
    for (const auto& [name, reason] : refused)
        EXPECT_THAT([&] { platform::CheckPrivateFolder(dir_ / name); },
                    Refused(dir_ / name, reason));
}

TEST_F(FilesTest, WriteFileAtomicReplacesFilesAndLinksAndFileHasBytesComparesThemWhole) {
    platform::WriteFileAtomic(dir_ / "Baloni.bmp", Bytes("bytes"));
    EXPECT_TRUE(platform::FileHasBytes(dir_ / "Baloni.bmp", Bytes("bytes")));
    for (const char* other : {"byte", "bytes!", "bytez"})
        EXPECT_FALSE(platform::FileHasBytes(dir_ / "Baloni.bmp", Bytes(other))) << other;
    EXPECT_FALSE(platform::FileHasBytes(dir_ / "missing", Bytes("")));
    platform::WriteFileAtomic(dir_ / "Baloni.bmp", Bytes("new"));
    EXPECT_TRUE(platform::FileHasBytes(dir_ / "Baloni.bmp", Bytes("new")));

    // A link planted at the name is refused by FileHasBytes, and replaced, not followed.
    std::ofstream(dir_ / "victim") << "keep";
    fs::create_symlink(dir_ / "victim", dir_ / "Kraj.wav");
    EXPECT_FALSE(platform::FileHasBytes(dir_ / "Kraj.wav", Bytes("keep")));
    platform::WriteFileAtomic(dir_ / "Kraj.wav", Bytes("sound"));
    EXPECT_TRUE(platform::FileHasBytes(dir_ / "Kraj.wav", Bytes("sound")));
    EXPECT_TRUE(platform::FileHasBytes(dir_ / "victim", Bytes("keep")));
    // Nor is it held up by a FIFO at the name, as the unpacker once was in open().
    ASSERT_EQ(mkfifo((dir_ / "Start.wav").c_str(), 0600), 0);
    EXPECT_FALSE(platform::FileHasBytes(dir_ / "Start.wav", Bytes("")));

    // chmod cannot stop root from writing, so each failure here is one root meets too: no folder
    // for the temporary file, a name too long for the rename, a folder with files at the name.
    fs::create_directory(dir_ / "folder");
    std::ofstream(dir_ / "folder" / "keep") << "keep";
    for (const fs::path& path :
         {dir_ / "missing" / "Start.wav", dir_ / std::string(NAME_MAX + 1, 'n'), dir_ / "folder"}) {
        EXPECT_THAT([&] { platform::WriteFileAtomic(path, Bytes("lost")); },
                    Refused(path, "write"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 5);  // no temporary file left
    EXPECT_TRUE(fs::exists(dir_ / "folder" / "keep"));
}

TEST_F(FilesTest, AHeldLockMeansAnotherCopyAndOursIsHeldUntilThisCopyEnds) {
    temp_.UseAsTemp();
    const std::string path = platform::UserTempPath(".lock");
    // A link planted at the name is never followed: the game plays on, unguarded.
    fs::create_symlink(dir_ / "elsewhere", path);
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
    fs::remove(path);

    const int other = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    EXPECT_TRUE(platform::PrevInstance());
    ASSERT_EQ(flock(other, LOCK_UN), 0);
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_NE(flock(other, LOCK_SH | LOCK_NB), 0) << "a second copy would start too";
    EXPECT_FALSE(platform::PrevInstance()) << "asked again by the copy that holds it";
    close(other);
}

}  // namespace
