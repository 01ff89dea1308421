// The temporary directory, folders and file contents over POSIX.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/host.h"
#include "platform/identity.h"
#include "temp_folder.h"

namespace platform {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void RaiseFileAccess(const std::string& message) {
    throw RuntimeError(kFileAccess, message);
}

[[noreturn]] void RaiseWriteError(const std::string& path, int error) {
    RaiseFileAccess("Cannot write '" + path + "': " + Reason(error));
}

const char* NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// Closes the descriptor when the scope ends, whichever way it ends.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports close's own result: a full disk may show only here.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// Reads exactly `size` bytes unless the file ends first; returns the count read, or -1.
ssize_t ReadFull(int fd, uint8_t* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// Returns 0, or the errno of the failure.
int WriteFull(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return EIO;
        bytes = bytes.subspan(static_cast<size_t>(put));
    }
    return 0;
}

// The temporary name lives in the target's folder, so the rename stays within one file system
// and is atomic; the short fixed pattern keeps it valid for any valid target name.
constexpr std::string_view kTemporaryName = ".tmp-XXXXXX";

std::string TemporaryPattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return folder + std::string(kTemporaryName);
}

std::string& SharedTemp() {
    static std::string folder = "/tmp";
    return folder;
}

// With neither variable set, every user of the machine would share one asset folder in /tmp, and
// the first user's folder, refused as foreign, would keep every other user from playing. So each
// user gets a private folder there, held to the same checks as the asset folder itself.
std::string PrivateFallbackFolder() {
    const std::string folder = UserTempPath("");
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        RaiseFileAccess("Cannot create folder '" + folder + "': " + Reason(errno));
    }
    CheckPrivateFolder(folder);
    return folder;
}

}  // namespace

const std::string& SharedTempFolder() {
    return SharedTemp();
}

void SetSharedTempFolder(std::string folder) {
    SharedTemp() = std::move(folder);
}

std::string UserTempPath(const std::string& suffix) {
    return SharedTemp() + "/" + Program().stem + "-" + std::to_string(::geteuid()) + suffix;
}

// $TMPDIR when set and non-empty, else $XDG_RUNTIME_DIR when set and non-empty, else this user's
// own folder in the shared temporary folder, "/tmp/<program>-<uid>".
std::string host::TempFolder() {
    const char* directory = NonEmptyEnv("TMPDIR");
    if (directory == nullptr) directory = NonEmptyEnv("XDG_RUNTIME_DIR");
    std::string path = directory != nullptr ? directory : PrivateFallbackFolder();
    if (path.back() != '/') path += '/';
    return path;
}

uint32_t host::LongestPath() {
    return PATH_MAX;
}

// Follows a symbolic link: a link to a folder counts as a folder, so the game goes on to refuse
// it in CheckPrivateFolder instead of trying to create a folder over it.
bool host::FolderExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void host::CreateFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0) {
        RaiseFileAccess("Cannot create folder '" + path + "': " + Reason(errno));
    }
}

void host::CheckPrivateFolder(const std::string& path) {
    const std::string refusal = "Refusing folder '" + path + "': ";
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) RaiseFileAccess(refusal + Reason(errno));
    if (S_ISLNK(status.st_mode)) RaiseFileAccess(refusal + "it is a symbolic link");
    if (!S_ISDIR(status.st_mode)) RaiseFileAccess(refusal + "it is not a directory");
    if (status.st_uid != ::geteuid()) RaiseFileAccess(refusal + "it is owned by another user");
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        RaiseFileAccess(refusal + "it is writable by group or others");
    }
}

// No fsync: the caller holds the bytes and can always write them again, and flushing twelve
// files to disk would make every first start noticeably slower.
void host::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
    std::string temporary = TemporaryPattern(path);
    // mkostemp opens with O_CREAT | O_EXCL and mode 0600: it never follows a planted link.
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) RaiseWriteError(path, errno);

    int error = WriteFull(file.get(), bytes);
    if (file.Close() != 0 && error == 0) error = errno;
    // rename replaces a symbolic link, a FIFO or a device standing at the path; it never writes
    // through it. An empty folder at the name is removed first; one with files in it is named.
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error == EISDIR && ::rmdir(path.c_str()) == 0)
        error = ::rename(temporary.c_str(), path.c_str()) == 0 ? 0 : errno;
    if (error == 0) return;
    ::unlink(temporary.c_str());
    RaiseWriteError(path, error);
}

FileRead host::ReadFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                        std::string& why) {
    // Without O_NONBLOCK a FIFO planted at the name would hold the game in open() for good;
    // fstat then refuses it, and anything else that is not a plain file, before a byte is read.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return FileRead::Missing;
        why = errno == ELOOP ? "it is a symbolic link" : Reason(errno);
        return FileRead::Failed;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        why = Reason(errno);
    else if (!S_ISREG(info.st_mode))
        why = "not a regular file";
    else if (static_cast<uint64_t>(info.st_size) > limit)
        why = "file too large";
    if (!why.empty()) return FileRead::Failed;

    // One byte more than fstat said, to see a file that grew while it was read.
    const auto size = static_cast<size_t>(info.st_size);
    bytes.resize(size + 1);
    const ssize_t got = ReadFull(file.get(), bytes.data(), bytes.size());
    if (got < 0)
        why = Reason(errno);
    else if (static_cast<size_t>(got) > size)
        why = "it grew while it was read";
    if (!why.empty()) return FileRead::Failed;
    bytes.resize(static_cast<size_t>(got));  // shrank while it was read: what was there
    return FileRead::Done;
}

void host::RemoveStaleTemporaries(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        // Only names of our pattern, left by a run killed mid-write: never anything else there.
        if (name.size() == kTemporaryName.size() && name.starts_with(kTemporaryName.substr(0, 5)))
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

char host::PathSeparator() {
    return '/';
}

}  // namespace platform
