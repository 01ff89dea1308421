// The game's file calls over the host's file system.
#include "files.h"

#include <algorithm>
#include <cstring>

#include "host.h"

namespace platform {

uint32_t MaxPath() {
    return host::LongestPath();
}

uint32_t GetTempPathA(uint32_t size, char* buffer) {
    const std::string path = host::TempFolder();
    const auto length = static_cast<uint32_t>(path.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, path.c_str(), length + 1);
    return length;
}

char PathSeparator() {
    return host::PathSeparator();
}

FileRead ReadFileBytes(const std::string& path, uint64_t limit, std::vector<uint8_t>& bytes,
                       std::string& why) {
    return host::ReadFile(path, limit, bytes, why);
}

void RemoveStaleTemporaries(const std::string& folder) {
    host::RemoveStaleTemporaries(folder);
}

bool FileSystemObject::FolderExists(const std::string& path) const {
    return host::FolderExists(path);
}

void FileSystemObject::CreateFolder(const std::string& path) const {
    host::CreateFolder(path);
}

void CheckPrivateFolder(const std::string& path) {
    host::CheckPrivateFolder(path);
}

bool FileHasBytes(const std::string& path, std::span<const uint8_t> bytes) {
    std::vector<uint8_t> found;
    std::string why;
    return host::ReadFile(path, bytes.size(), found, why) == FileRead::Done &&
           std::equal(found.begin(), found.end(), bytes.begin(), bytes.end());
}

void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
    host::WriteFileAtomic(path, bytes);
}

}  // namespace platform
