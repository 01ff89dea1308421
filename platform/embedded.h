// Files carried inside the executable as its resources, placed there at build time.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// The bytes of the executable's resource of this type and name, both compared without regard to
// case: the game's pictures and sounds under their own types ("BMP", "BALONI"), every other file
// as "RCDATA". Empty when there is none.
std::span<const uint8_t> ResourceBytes(std::string_view type, std::string_view name);

}  // namespace platform
