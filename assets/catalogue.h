// The pictures and sounds the executable carries inside itself.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace assets {

// The stored bytes of one asset, looked up by name and type ("BMP" or "WAV") without regard to
// case. An unknown name raises a resource-not-found error naming it.
std::vector<uint8_t> LoadResData(std::string_view name, std::string_view type);

}  // namespace assets
