// Files carried inside the executable, placed there at build time.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

struct EmbeddedFile {
    std::string_view name;  // the file name it was built from, e.g. "Baloni.bmp"
    std::span<const uint8_t> bytes;
};

// Every embedded file: the twelve assets, the icon and the font.
std::span<const EmbeddedFile> EmbeddedFiles();

// One embedded file by its exact file name; empty when there is none.
std::span<const uint8_t> EmbeddedBytes(std::string_view name);

}  // namespace platform
