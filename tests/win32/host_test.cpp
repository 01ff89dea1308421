// The Win32 host's own guards: junctions refused, files replaced whole, one copy per session.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "file_checks.h"
#include "platform/app.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/identity.h"
#include "platform/win32/windows_api.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

using testing_support::Bytes;
using testing_support::Refused;

// Makes `link` a junction to `target`, as mklink /J does, which needs no privilege; false where
// the file system cannot hold one (Wine 8 cannot).
bool MakeJunction(const fs::path& link, const fs::path& target) {
    fs::create_directory(link);
    ::HANDLE handle =
        ::CreateFileA(link.string().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    // A mount point's reparse data: tag, sizes, then the substitute and print names.
    const std::wstring name = L"\\??\\" + target.wstring();
    const auto bytes = static_cast<uint16_t>(name.size() * sizeof(wchar_t));
    std::vector<uint8_t> data(16 + bytes + 4);
    const uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
    const uint16_t fields[] = {static_cast<uint16_t>(data.size() - 8), 0, 0, bytes,
                               static_cast<uint16_t>(bytes + 2),       0};
    std::memcpy(data.data(), &tag, 4);
    std::memcpy(data.data() + 4, fields, sizeof fields);
    std::memcpy(data.data() + 16, name.data(), bytes);
    DWORD ignored = 0;
    const bool made =
        ::DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, data.data(),
                          static_cast<DWORD>(data.size()), nullptr, 0, &ignored, nullptr) != 0;
    ::CloseHandle(handle);
    return made;
}

TEST(Win32Files, ARefusedFolderIsNamedAndAJunctionIsNeverTrusted) {
    testing_support::TempDir temp;
    const fs::path& dir = temp.Path();
    fs::create_directory(dir / "Puffpop");
    std::ofstream(dir / "file") << "x";
    platform::CheckPrivateFolder((dir / "Puffpop").string());
    EXPECT_THAT([&] { platform::CheckPrivateFolder((dir / "file").string()); },
                Refused(dir / "file", "not a directory"));
    EXPECT_THAT([&] { platform::CheckPrivateFolder((dir / "missing").string()); },
                Refused(dir / "missing", "'"));
    if (!MakeJunction(dir / "junction", dir / "Puffpop")) GTEST_SKIP() << "no junctions here";
    EXPECT_TRUE(platform::FileSystemObject().FolderExists((dir / "junction").string()));
    EXPECT_THAT([&] { platform::CheckPrivateFolder((dir / "junction").string()); },
                Refused(dir / "junction", "junction"));
}

TEST(Win32Files, WriteFileAtomicReplacesWholeFilesAndLeavesNothingBehindWhenItFails) {
    testing_support::TempDir temp;
    const fs::path& dir = temp.Path();
    const std::string path = (dir / "Baloni.bmp").string();
    platform::WriteFileAtomic(path, Bytes("old picture"));
    platform::WriteFileAtomic(path, Bytes("new"));
    EXPECT_TRUE(platform::FileHasBytes(path, Bytes("new")));
    EXPECT_FALSE(platform::FileHasBytes(path, Bytes("ne")));

    fs::create_directory(dir / "folder");
    for (const fs::path& bad : {dir / "missing" / "Start.wav", dir / "folder"}) {
        EXPECT_THAT([&] { platform::WriteFileAtomic(bad.string(), Bytes("lost")); },
                    Refused(bad, "Cannot write"));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // no temporary file left

    std::vector<uint8_t> bytes;
    std::string why;
    EXPECT_EQ(platform::ReadFileBytes(path, 100, bytes, why), platform::FileRead::Done);
    EXPECT_EQ(bytes, std::vector<uint8_t>({'n', 'e', 'w'}));
    for (const fs::path& missing : {dir / "Kraj.wav", dir / "missing" / "Kraj.wav"})
        EXPECT_EQ(platform::ReadFileBytes(missing.string(), 100, bytes, why),
                  platform::FileRead::Missing);
}

TEST(Win32Files, TheTemporaryPathEndsInABackslashAndAShortBufferIsToldTheSizeNeeded) {
    char path[platform::kMaxPath] = {};
    const uint32_t length = platform::GetTempPathA(platform::kMaxPath, path);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::string(path).size(), length);
    EXPECT_EQ(path[length - 1], '\\');
    char small[2] = {'?', '?'};
    EXPECT_EQ(platform::GetTempPathA(length, small), length + 1);
    EXPECT_EQ(small[0], '?');
}

// Another copy in the same session holds the name: this one stands down. Once that copy is gone
// the name is this one's for as long as it runs.
TEST(Win32SingleCopy, TheFirstCopyInTheSessionHoldsTheNameForItsLife) {
    platform::Identify({"Puffpop", "puffpop-test", ""});
    const char* name = "Local\\puffpop-test-single-copy";
    ::HANDLE other = ::CreateMutexA(nullptr, FALSE, name);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(platform::PrevInstance());
    ::CloseHandle(other);
    EXPECT_FALSE(platform::PrevInstance());
    ::HANDLE later = ::CreateMutexA(nullptr, FALSE, name);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ::CloseHandle(later);
    EXPECT_FALSE(platform::PrevInstance());
}

}  // namespace
