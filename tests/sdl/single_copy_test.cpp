// One copy per user: the lock that a second copy finds held.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "platform/app.h"
#include "platform/files.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Whether another open of the lock file could take any lock on it now.
bool Free(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    const bool free = fd >= 0 && flock(fd, LOCK_SH | LOCK_NB) == 0;  // even shared
    if (fd >= 0) close(fd);
    return free;
}

TEST(SingleCopy, AHeldLockMeansAnotherCopyAndOursIsHeldUntilThisCopyEnds) {
    testing_support::TempDir temp;
    temp.UseAsTemp();
    const std::string path = platform::UserTempPath(".lock");
    // A link planted at the name is never followed: the game plays on, unguarded, and says so.
    fs::create_symlink(temp.Path() / "elsewhere", path);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("symbolic link"), std::string::npos);
    EXPECT_FALSE(fs::exists(temp.Path() / "elsewhere"));
    fs::remove(path);

    const int other = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    EXPECT_TRUE(platform::PrevInstance());
    close(other);
    EXPECT_FALSE(platform::PrevInstance());
    EXPECT_FALSE(Free(path)) << "a second copy would start too";
    EXPECT_FALSE(platform::PrevInstance()) << "asked again by the copy that holds it";
}

}  // namespace
