// Files carried inside the executable as its own resources (platform/win32/puffpop.rc.in).
#include <string>

#include "platform/host.h"
#include "windows_api.h"

namespace platform {

// Resources stay mapped for as long as the program runs.
std::span<const uint8_t> host::ResourceBytes(std::string_view type, std::string_view name) {
    const std::string typeName(type), resourceName(name);
    // RCDATA is a number, not a name, among the resource types.
    const char* const typeId = typeName == "RCDATA" ? MAKEINTRESOURCEA(10) : typeName.c_str();
    ::HRSRC found = ::FindResourceA(nullptr, resourceName.c_str(), typeId);
    if (found == nullptr) return {};
    ::HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return {static_cast<const uint8_t*>(bytes), ::SizeofResource(nullptr, found)};
}

}  // namespace platform
