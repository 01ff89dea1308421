// Files over std::filesystem, for a file system with no owners and no other users: the null
// host's folder of the test's, and the browser's in memory (the web host builds this file too).
// The checks of who owns a folder and who may write in it are the desktop hosts'; here a folder
// is refused only for what any file system can tell: a link, or not a folder at all.
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

#include "platform/error.h"
#include "platform/host.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void RaiseFileAccess(const std::string& message) {
    throw RuntimeError(kFileAccess, message);
}

// As the real hosts name theirs: in the target's folder, so that the rename stays on one disk.
constexpr std::string_view kTemporaryName = ".tmp-XXXXXX";

fs::path TemporaryName(const fs::path& target) {
    static std::mt19937 random{std::random_device{}()};
    std::string name(kTemporaryName);
    for (size_t i = 5; i < name.size(); ++i) name[i] = static_cast<char>('a' + random() % 26);
    return target.parent_path() / name;
}

}  // namespace

bool host::FolderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

void host::CreateFolder(const std::string& path) {
    std::error_code error;
    if (!fs::create_directory(path, error))
        RaiseFileAccess("Cannot create folder '" + path +
                        "': " + (error ? error.message() : "it exists"));
}

void host::CheckPrivateFolder(const std::string& path) {
    const std::string refusal = "Refusing folder '" + path + "': ";
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error) RaiseFileAccess(refusal + error.message());
    if (fs::is_symlink(status)) RaiseFileAccess(refusal + "it is a symbolic link");
    if (!fs::is_directory(status)) RaiseFileAccess(refusal + "it is not a directory");
}

FileRead host::ReadFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                        std::string& why) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::not_found) return FileRead::Missing;
    if (error)
        why = error.message();
    else if (fs::is_symlink(status))
        why = "it is a symbolic link";
    else if (!fs::is_regular_file(status))
        why = "not a regular file";
    else if (fs::file_size(path, error) > limit || error)
        why = error ? error.message() : "file too large";
    if (!why.empty()) return FileRead::Failed;
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), {});
    if (file.bad()) why = "it cannot be read";
    return why.empty() ? FileRead::Done : FileRead::Failed;
}

void host::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
    const fs::path temporary = TemporaryName(path);
    std::ofstream file(temporary, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    std::error_code error;
    if (!file) error = std::make_error_code(std::errc::io_error);
    // The rename replaces a link standing at the path, never writes through it; an empty folder
    // there goes first, one with files in it is named.
    if (!error) fs::rename(temporary, path, error);
    std::error_code ignored;
    if (error && fs::is_directory(fs::symlink_status(path, ignored)) && fs::remove(path, ignored))
        fs::rename(temporary, path, error);
    if (!error) return;
    fs::remove(temporary, ignored);
    RaiseFileAccess("Cannot write '" + path + "': " + error.message());
}

void host::RemoveStaleTemporaries(const std::string& folder) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == kTemporaryName.size() && name.starts_with(kTemporaryName.substr(0, 5)))
            fs::remove(entry.path(), error);
    }
}

}  // namespace platform
