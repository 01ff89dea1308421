#include "platform/files.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/error.h"

namespace {

namespace fs = std::filesystem;
using Env = std::optional<std::string>;

// Sets or unsets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, Env value) : name_(name) {
        if (const char* old = getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }

private:
    void Set(const Env& value) { value ? setenv(name_, value->c_str(), 1) : unsetenv(name_); }
    const char* name_;
    Env old_;
};

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

std::string Slurp(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Runs a call that must raise kFileAccess with the quoted path and the reason in its message.
template <typename Call>
void ExpectRefused(Call call, const fs::path& path, const std::string& reason) {
    try {
        call();
        ADD_FAILURE() << "no error for " << path;
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.Number(), platform::kFileAccess);
        EXPECT_NE(std::string(error.what()).find("'" + path.string() + "': "), std::string::npos);
        EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
}

class FilesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "puffpop-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Put(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
    }
    fs::path dir_;
};

TEST(GetTempPathA, PrefersTmpdirThenXdgRuntimeDirThenTmpAndFitsOrWritesNothing) {
    const std::vector<std::tuple<Env, Env, std::string>> cases = {
        {"/var/tmp", "/run/user/7", "/var/tmp/"},
        {"/var/tmp/", {}, "/var/tmp/"},
        {"", "/run/user/7", "/run/user/7/"},
        {{}, "/run/user/7/", "/run/user/7/"},
        {"", "", "/tmp/"},
        {{}, {}, "/tmp/"}};
    for (const auto& [tmpdir, xdg, expected] : cases) {
        ScopedEnv set_tmpdir("TMPDIR", tmpdir), set_xdg("XDG_RUNTIME_DIR", xdg);
        char buffer[100] = {};
        EXPECT_EQ(platform::GetTempPathA(100, buffer), expected.size());
        EXPECT_EQ(std::string(buffer), expected);
    }

    const std::string dir = "/" + std::string(98, 'd');  // 100 characters once "/" is added
    ScopedEnv set_tmpdir("TMPDIR", dir);
    std::string buffer(101, 'x');
    EXPECT_EQ(platform::GetTempPathA(100, buffer.data()), 101u);
    EXPECT_EQ(buffer, std::string(101, 'x'));
    EXPECT_EQ(platform::GetTempPathA(101, buffer.data()), 100u);
    EXPECT_EQ(buffer, dir + "/" + '\0');
}

TEST_F(FilesTest, CreateFolderMakesOnePrivateLevelThatFolderExistsFinds) {
    const platform::FileSystemObject fso;
    EXPECT_FALSE(fso.FolderExists(dir_ / "Puffpop"));
    fso.CreateFolder(dir_ / "Puffpop");
    EXPECT_TRUE(fso.FolderExists(dir_ / "Puffpop"));
    EXPECT_EQ(fs::status(dir_ / "Puffpop").permissions(), fs::perms::owner_all);

    Put("file", "x");
    fs::create_directory_symlink(dir_ / "Puffpop", dir_ / "link");
    EXPECT_FALSE(fso.FolderExists(dir_ / "file"));
    EXPECT_TRUE(fso.FolderExists(dir_ / "link"));  // so that CheckPrivateFolder gets to refuse it
    for (const fs::path& bad : {dir_ / "Puffpop", dir_ / "missing" / "Puffpop"}) {
        ExpectRefused([&] { fso.CreateFolder(bad); }, bad, "Cannot create folder");
    }
}

TEST_F(FilesTest, CheckPrivateFolderRefusesWhatOthersCouldTamperWith) {
    for (const char* name : {"private", "open", "foreign"}) fs::create_directory(dir_ / name);
    fs::permissions(dir_ / "private", fs::perms::owner_all);
    fs::permissions(dir_ / "open", fs::perms::all);
    fs::create_directory_symlink(dir_ / "private", dir_ / "link");
    Put("file", "x");

    platform::CheckPrivateFolder(dir_ / "private");
    std::vector<std::pair<fs::path, std::string>> refused = {
        {dir_ / "link", "symbolic link"},
        {dir_ / "file", "not a directory"},
        {dir_ / "open", "writable by group or others"},
        {dir_ / "missing", "No such file"}};
    if (geteuid() == 0 && chown((dir_ / "foreign").c_str(), 65534, 65534) == 0) {
        refused.push_back({dir_ / "foreign", "owned by another user"});
    }
    for (const auto& [path, reason] : refused) {
        ExpectRefused([&, &path = path] { platform::CheckPrivateFolder(path); }, path, reason);
    }
}

TEST_F(FilesTest, FileHasBytesOnlyForTheSameBytesInARegularFile) {
    std::string bytes(300000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    Put("same", bytes);
    Put("changed", bytes.substr(0, 299999) + '?');
    Put("short", bytes.substr(1));
    Put("empty", "");
    fs::create_symlink(dir_ / "same", dir_ / "link");

    EXPECT_TRUE(platform::FileHasBytes(dir_ / "same", Bytes(bytes)));
    EXPECT_TRUE(platform::FileHasBytes(dir_ / "empty", {}));
    for (const char* name : {"changed", "short", "missing", "link"}) {
        EXPECT_FALSE(platform::FileHasBytes(dir_ / name, Bytes(bytes))) << name;
    }
    EXPECT_FALSE(platform::FileHasBytes(dir_ / "same", Bytes(bytes).first(299999)));
    EXPECT_FALSE(platform::FileHasBytes(dir_, {}));
}

TEST_F(FilesTest, WriteFileAtomicReplacesFilesAndLinksAndLeavesNothingElse) {
    platform::WriteFileAtomic(dir_ / "Baloni.bmp", Bytes(std::string(5000, 'o')));
    platform::WriteFileAtomic(dir_ / "Baloni.bmp", Bytes("new"));
    EXPECT_EQ(Slurp(dir_ / "Baloni.bmp"), "new");
    EXPECT_EQ(fs::status(dir_ / "Baloni.bmp").permissions() & ~fs::perms::owner_all,
              fs::perms::none);

    // A link planted at the name is replaced; the file it points to is left alone.
    Put("victim", "keep");
    fs::create_symlink(dir_ / "victim", dir_ / "Kraj.wav");
    platform::WriteFileAtomic(dir_ / "Kraj.wav", Bytes("sound"));
    EXPECT_FALSE(fs::is_symlink(dir_ / "Kraj.wav"));
    EXPECT_EQ(Slurp(dir_ / "Kraj.wav"), "sound");
    EXPECT_EQ(Slurp(dir_ / "victim"), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);

    // chmod cannot stop root from writing, so each failure here is one root meets too: no folder
    // for the temporary file, a name too long for the rename, a folder standing at the name.
    fs::create_directory(dir_ / "folder");
    for (const fs::path& path :
         {dir_ / "missing" / "Start.wav", dir_ / std::string(NAME_MAX + 1, 'n'), dir_ / "folder"}) {
        ExpectRefused([&] { platform::WriteFileAtomic(path, Bytes("lost")); }, path,
                      "Cannot write '" + path.string() + "': ");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 4);
    EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

}  // namespace
