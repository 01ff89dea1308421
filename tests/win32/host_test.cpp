// The Win32 host's own guards: junctions refused, files replaced whole, one copy per session.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "file_checks.h"
#include "platform/single_copy.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/identity.h"
#include "platform/win32/win32_host.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

using testing_support::Bytes;
using testing_support::Refused;

// Counts the host's waits for a busy file instead of waiting; lets the held file go at the wait
// numbered g_releaseAt.
::HANDLE g_held;
unsigned g_waits = 0, g_releaseAt = 0;
void CountWait(unsigned) {
    if (++g_waits == g_releaseAt) ::CloseHandle(g_held);
}

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

// An antivirus scanner or the indexer holds the new file for a moment: the game tries again
// instead of stopping, and still stops, naming the file, when it stays held.
TEST(Win32Files, WriteFileAtomicReplacesWholeFilesTriesAHeldOneAgainAndLeavesNothingBehind) {
    testing_support::TempDir temp;
    const fs::path& dir = temp.Path();
    const std::string path = (dir / "Baloni.bmp").string();
    platform::WriteFileAtomic(path, Bytes("old picture"));
    platform::WriteFileAtomic(path, Bytes("new"));
    EXPECT_TRUE(platform::FileHasBytes(path, Bytes("new")));
    EXPECT_FALSE(platform::FileHasBytes(path, Bytes("ne")));

    fs::create_directory(dir / "folder");
    platform::win32::Calls().busyWait = CountWait;  // a folder refuses access at once
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

    g_held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(g_held, INVALID_HANDLE_VALUE);
    g_waits = g_releaseAt = 0;  // held throughout
    EXPECT_THAT([&] { platform::WriteFileAtomic(path, Bytes("newer")); },
                Refused(dir / "Baloni.bmp", "Cannot write"));
    EXPECT_TRUE(g_waits >= 3 && g_waits <= 10) << g_waits;
    EXPECT_EQ(platform::ReadFileBytes(path, 100, bytes, why), platform::FileRead::Failed);
    EXPECT_TRUE(g_waits >= 6 && g_waits <= 20) << g_waits;
    g_waits = 0, g_releaseAt = 2;  // let go while the game waits the second time
    platform::WriteFileAtomic(path, Bytes("newer"));
    EXPECT_EQ(g_waits, 2u);
    EXPECT_TRUE(platform::FileHasBytes(path, Bytes("newer")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);  // nothing left behind
}

// A user name outside the system's code page: the temporary folder, the folders and files under
// it are found and made under that very name. A buffer too short is told the size it needs.
TEST(Win32Files, ATemporaryFolderNamedOutsideTheCodePageIsUsedAsNamed) {
    testing_support::TempDir temp;
    const std::string name = "Пуфпоп Müller";
    const fs::path wide = temp.Path() / fs::path(std::u8string(name.begin(), name.end()));
    const std::string folder = temp.Path().string() + "\\" + name;
    fs::create_directory(wide);
    wchar_t saved[MAX_PATH] = {};
    const bool had = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH) != 0;
    ::SetEnvironmentVariableW(L"TMP", wide.c_str());
    std::vector<char> path(platform::MaxPath());
    char small[2] = {'?', '?'};
    const uint32_t length = platform::GetTempPathA(platform::MaxPath(), path.data());
    EXPECT_EQ(platform::GetTempPathA(length, small), length + 1);
    ::SetEnvironmentVariableW(L"TMP", had ? saved : nullptr);
    EXPECT_EQ(std::string(path.data()), folder + "\\");
    EXPECT_EQ(length, std::string(path.data()).size());
    EXPECT_EQ(small[0], '?');

    platform::FileSystemObject().CreateFolder(folder + "\\Puffpop");
    EXPECT_TRUE(platform::FileSystemObject().FolderExists(folder + "\\Puffpop"));
    platform::CheckPrivateFolder(folder + "\\Puffpop");
    const std::string file = folder + "\\Puffpop\\Kraj.wav";
    platform::WriteFileAtomic(file, Bytes("end"));
    EXPECT_TRUE(platform::FileHasBytes(file, Bytes("end")));
    EXPECT_TRUE(fs::exists(wide / "Puffpop" / "Kraj.wav"));
    EXPECT_THAT(
        [&] { platform::CheckPrivateFolder(file); },
        testing::ThrowsMessage<platform::RuntimeError>(testing::HasSubstr(file + "': it is")));
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
