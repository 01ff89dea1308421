// Loading picture files into surfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "surface.h"

namespace platform {

using Picture = std::shared_ptr<const Surface>;

// Reads an uncompressed Windows bitmap of 1, 4, 8, 16 (5-5-5), 24 or 32 bits per pixel and
// converts it once to 32-bit pixels: 5-bit channels expand by bit replication (black stays 0,
// white stays 0xFFFFFF), 1-bit masks become 0 or 0xFFFFFF, paletted pictures go through their
// palette. A missing file raises kFileNotFound, anything else unreadable kInvalidPicture; both
// name the file.
Picture LoadPicture(const std::string& path);

// The same from a picture file's bytes already in memory; `path` names it in errors.
Picture DecodePicture(const std::string& path, std::span<const uint8_t> file);

}  // namespace platform
