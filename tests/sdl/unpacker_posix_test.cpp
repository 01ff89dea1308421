// The unpacker's choice of folder where the temporary directory comes from POSIX variables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "assets/frmRES.h"
#include "platform/error.h"
#include "posix_temp.h"

namespace {

namespace fs = std::filesystem;
using assets::frmRES;

class PosixUnpacker : public testing::Test {
protected:
    void SetUp() override { temp_.UseAsTemp(); }
    void TearDown() override { frmRES.Unload(); }
    testing_support::PosixTemp temp_;
};

TEST_F(PosixUnpacker, AnyTemporaryPathUpToTheSystemLimitIsUsedAndALongerOneNamesTmpdir) {
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

TEST_F(PosixUnpacker, WithoutTemporaryVariablesEachUserUnpacksIntoAFolderOfTheirOwn) {
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

}  // namespace
