// The temporary directory, folders, and writing files safely.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The longest path the system takes, its NUL included: a buffer this large holds any path.
uint32_t MaxPath();

// Writes the temporary directory, ending in the path separator, and a NUL into buffer and returns
// its length. The directory is this user's own: one the system names for temporary files, or a
// folder of the program's own made private on first use; one that someone else could tamper with
// is refused (kFileAccess). When it does not fit (length + NUL > size) nothing is written and the
// needed size is returned.
uint32_t GetTempPathA(uint32_t size, char* buffer);

// What separates a folder from its files in a path.
char PathSeparator();

// Every read of a file the game did not make itself goes through here. It reads a whole regular
// file of at most `limit` bytes into `bytes`, never following a link and never waiting on a pipe
// or device standing at the name (those fail, as "not a regular file"). A file that shrinks while
// it is read gives what was there. Otherwise says whether it is missing, or why it failed.
enum class FileRead { Done, Missing, Failed };
FileRead ReadFileBytes(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                       std::string& why);

// Larger than any picture or sound of the game, small enough that no file can flood memory.
constexpr uint64_t kMaxAssetFileBytes = uint64_t{4} << 20;

// Removes the temporary files a run killed mid-write left in the folder; nothing else.
void RemoveStaleTemporaries(const std::string& folder);

class FileSystemObject {
public:
    bool FolderExists(const std::string& path) const;
    // Creates one folder level, readable and writable by this user only.
    void CreateFolder(const std::string& path) const;
};

// Refuses a folder another user could tamper with: a symbolic link, not a directory, owned by
// someone else, or writable by group or others. Raises kFileAccess naming the path.
void CheckPrivateFolder(const std::string& path);

// True when the file exists (not through a symbolic link) and holds exactly these bytes.
bool FileHasBytes(const std::string& path, std::span<const uint8_t> bytes);

// Writes the bytes under a temporary name in the same folder and renames it into place, so no
// partial file ever stands under the name. Never follows a symbolic link. Any failure raises
// kFileAccess naming the path and the reason, and leaves no temporary file behind.
void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace platform
