// Files carried inside the executable as its own resources (resources/puffpop.rc): the assets
// under the catalogue's types and names, the fonts, the version texts and the icon file as RCDATA.
#include "platform/embedded.h"

#include <string>
#include <vector>

#include "assets_table.h"
#include "platform/identity.h"
#include "platform/win32/windows_api.h"

namespace platform {
namespace {

// The files the resource script carries outside the asset table, by the names the game asks for.
struct Other {
    std::string_view file;
    std::string_view name;  // RCDATA
};
constexpr Other kOthers[] = {
    {"font.ttf", "FONT"}, {"dialog.ttf", "DIALOGFONT"}, {"version.txt", "VERSIONTEXT"}};
// The window class takes the icon group (id 1) itself; the .ico file's own bytes, where a caller
// wants them, are carried apart, since an icon group holds its images in pieces.
constexpr std::string_view kIconFile = "ICONFILE";

// Resources stay mapped for as long as the program runs.
std::span<const uint8_t> Resource(const char* type, const std::string& name) {
    ::HRSRC found = ::FindResourceA(nullptr, name.c_str(), type);
    if (found == nullptr) return {};
    ::HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return {static_cast<const uint8_t*>(bytes), ::SizeofResource(nullptr, found)};
}

std::span<const uint8_t> RawData(std::string_view name) {
    return Resource(MAKEINTRESOURCEA(10), std::string(name));  // RT_RCDATA, in its narrow form
}

}  // namespace

std::span<const uint8_t> EmbeddedBytes(std::string_view file) {
    for (const assets::AssetRow& row : assets::kAssetTable) {
        if (row.file == file) return Resource(std::string(row.type).c_str(), std::string(row.name));
    }
    for (const Other& other : kOthers) {
        if (other.file == file) return RawData(other.name);
    }
    if (!file.empty() && file == Program().icon) return RawData(kIconFile);
    return {};
}

std::span<const EmbeddedFile> EmbeddedFiles() {
    static const std::vector<EmbeddedFile> files = [] {
        std::vector<std::string_view> names;
        for (const assets::AssetRow& row : assets::kAssetTable) names.push_back(row.file);
        names.push_back(Program().icon);
        for (const Other& other : kOthers) names.push_back(other.file);
        std::vector<EmbeddedFile> found;
        for (std::string_view name : names) {
            if (const auto bytes = EmbeddedBytes(name); !bytes.empty()) found.push_back({name, bytes});
        }
        return found;
    }();
    return files;
}

}  // namespace platform
