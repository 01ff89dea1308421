// The unpacker's choice of folder where the temporary directory comes from POSIX variables.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
    EXPECT_EQ(frmRES.Text(assets::kAssetFolder), (atOldLimit / "Puffpop/").string());
    EXPECT_TRUE(fs::exists(atOldLimit / "Puffpop" / "Kraj.wav"));
    frmRES.Unload();
    temp_.SetEnv("TMPDIR", temp_.Path() / std::string(5000, 'y'));
    EXPECT_THAT([] { frmRES.Show(); },
                testing::ThrowsMessage<platform::RuntimeError>(testing::HasSubstr("TMPDIR")));
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(temp_.Path() / "Puffpop")) << "unpacked where the game was started";
}

}  // namespace
