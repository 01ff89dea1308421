// The temporary folder, folders and file contents over the Windows API.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "platform/error.h"
#include "platform/host.h"
#include "win32_host.h"

namespace platform {

namespace {

// Windows' own words for an error, without the full stop and line end it ends them with.
std::string Reason(DWORD error) {
    wchar_t text[512] = {};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, error, 0, text, 512, nullptr);
    while (length > 0 && std::wcschr(L". \r\n", text[length - 1]) != nullptr) --length;
    if (length == 0) return "error " + std::to_string(error);
    return win32::Utf8(text, length);
}

[[noreturn]] void RaiseFileAccess(const std::string& message) {
    throw RuntimeError(kFileAccess, message);
}

[[noreturn]] void RaiseWriteError(const std::string& path, DWORD error) {
    RaiseFileAccess("Cannot write '" + path + "': " + Reason(error));
}

// Closes the handle when the scope ends, whichever way it ends.
class Handle {
public:
    explicit Handle(::HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    ::HANDLE get() const { return handle_; }
    // Closes now and reports the result: a full disk may show only here.
    bool Close() {
        const bool closed = !Valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    ::HANDLE handle_;
};

// Reads up to `size` bytes, fewer only where the file ends; false on a read error.
bool ReadFull(::HANDLE file, uint8_t* buffer, size_t size, size_t& done) {
    done = 0;
    while (done < size) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
        DWORD got = 0;
        if (::ReadFile(file, buffer + done, want, &got, nullptr) == 0) return false;
        if (got == 0) break;
        done += got;
    }
    return true;
}

// Returns 0, or the error of the failure.
DWORD WriteFull(::HANDLE file, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD put = 0;
        if (::WriteFile(file, bytes.data(), want, &put, nullptr) == 0) return ::GetLastError();
        if (put == 0) return ERROR_WRITE_FAULT;
        bytes = bytes.subspan(put);
    }
    return 0;
}

// The temporary file lives in the target's folder, so the move stays within one volume and
// replaces the target at once.
std::string TemporaryName(const std::string& path, unsigned attempt) {
    const size_t slash = path.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return folder + ".tmp-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(attempt);
}

// A reparse point (a junction or a symbolic link) may lead anywhere: it never counts as ours.
bool IsReparsePoint(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A file on disk that is neither a folder nor a junction or link: pipes and devices are refused.
bool IsPlainFile(::HANDLE file) {
    ::BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(file) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(file, &info) != 0 &&
           !IsReparsePoint(info.dwFileAttributes) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Antivirus scanners and the search indexer open a new file for a moment without sharing it: a
// call that meets one is tried again a few times before its error stops the game.
constexpr unsigned kTries = 6;

bool Busy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// Paths are UTF-8 to the game and UTF-16 to Windows, which takes any user's name in them.
::HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags) {
    const std::wstring name = win32::Wide(path);
    for (unsigned attempt = 1;; ++attempt) {
        ::HANDLE file =
            ::CreateFileW(name.c_str(), access, share, nullptr, creation, flags, nullptr);
        const DWORD error = ::GetLastError();
        if (file != INVALID_HANDLE_VALUE || !Busy(error) || attempt == kTries) {
            ::SetLastError(error);
            return file;
        }
        win32::Calls().busyWait(attempt);
    }
}

// Returns 0, or the error of the last try.
DWORD MoveOver(const std::string& from, const std::string& to) {
    const std::wstring source = win32::Wide(from), target = win32::Wide(to);
    for (unsigned attempt = 1;; ++attempt) {
        if (::MoveFileExW(source.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)
            return 0;
        const DWORD error = ::GetLastError();
        if (!Busy(error) || attempt == kTries) return error;
        win32::Calls().busyWait(attempt);
    }
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(win32::Wide(path).c_str());
}

// Windows' temporary path, "\" at its end; raises when Windows cannot say.
std::string WindowsTempPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    if (length == 0 || length > MAX_PATH) {
        RaiseFileAccess("Cannot find the temporary folder: " +
                        Reason(length == 0 ? ::GetLastError() : ERROR_BUFFER_OVERFLOW));
    }
    std::string folder = win32::Utf8(path, length);
    // A TMP that ends in a separator of its own gets Windows' "\" after it: keep one.
    while (folder.size() > 3 && std::strchr("/\\", folder[folder.size() - 2]) != nullptr) {
        folder.erase(folder.size() - 2, 1);
    }
    return folder;
}

}  // namespace

// Windows' GetTempPath: TMP, else TEMP, else USERPROFILE, else the Windows folder.
std::string host::TempFolder() {
    return WindowsTempPath();
}

// Each UTF-16 unit of a path takes at most three bytes of UTF-8: any path of MAX_PATH units fits.
uint32_t host::LongestPath() {
    return 3 * MAX_PATH + 1;
}

// A junction to a folder counts as a folder, so the game goes on to refuse it in
// CheckPrivateFolder instead of trying to create a folder over it.
bool host::FolderExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The new folder takes the permissions of the one it is made in: the user's own temporary folder.
void host::CreateFolder(const std::string& path) {
    if (::CreateDirectoryW(win32::Wide(path).c_str(), nullptr) == 0) {
        RaiseFileAccess("Cannot create folder '" + path + "': " + Reason(::GetLastError()));
    }
}

void host::CheckPrivateFolder(const std::string& path) {
    const std::string refusal = "Refusing folder '" + path + "': ";
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) RaiseFileAccess(refusal + Reason(::GetLastError()));
    if (IsReparsePoint(attributes)) RaiseFileAccess(refusal + "it is a junction or symbolic link");
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        RaiseFileAccess(refusal + "it is not a directory");
    }
}

// Written through to the disk: a move that lands before its data would leave a torn file under the
// name after a power cut.
void host::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
    // CREATE_NEW never opens a file or link already standing at the name; one left by a copy that
    // died with the same process id is stepped over.
    std::string temporary;
    ::HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(path, attempt);
        created = OpenFile(temporary, GENERIC_WRITE, 0, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH);
        const DWORD error = ::GetLastError();
        if (created == INVALID_HANDLE_VALUE && (error != ERROR_FILE_EXISTS || attempt >= 100)) {
            RaiseWriteError(path, error);
        }
    }
    Handle file(created);

    DWORD error = WriteFull(file.get(), bytes);
    if (!file.Close() && error == 0) error = ::GetLastError();
    // The move replaces a link standing at the path; it never writes through it.
    if (error == 0) error = MoveOver(temporary, path);
    if (error == 0) return;
    ::DeleteFileW(win32::Wide(temporary).c_str());
    RaiseWriteError(path, error);
}

FileRead host::ReadFile(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                        std::string& why) {
    // Opens a link itself, where there is one, so that IsPlainFile refuses it.
    Handle file(OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                         FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return FileRead::Missing;
        why = Reason(error);
        return FileRead::Failed;
    }
    ::LARGE_INTEGER size{};
    if (!IsPlainFile(file.get()))
        why = "not a regular file";
    else if (::GetFileSizeEx(file.get(), &size) == 0)
        why = Reason(::GetLastError());
    else if (static_cast<uint64_t>(size.QuadPart) > limit)
        why = "file too large";
    if (!why.empty()) return FileRead::Failed;

    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    if (!ReadFull(file.get(), bytes.data(), bytes.size(), done)) {
        why = Reason(::GetLastError());
        return FileRead::Failed;
    }
    bytes.resize(done);  // shrank while we read: parse what is there
    return FileRead::Done;
}

// Our temporary names are ".tmp-<process>-<attempt>": a run killed mid-write leaves one behind.
void host::RemoveStaleTemporaries(const std::string& folder) {
    const std::wstring where = win32::Wide(folder) + L"\\";
    ::WIN32_FIND_DATAW found{};
    const ::HANDLE search = ::FindFirstFileW((where + L".tmp-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
            0)
            ::DeleteFileW((where + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found) != 0);
    ::FindClose(search);
}

char host::PathSeparator() {
    return '\\';
}

}  // namespace platform
