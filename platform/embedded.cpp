#include "embedded.h"

#include "host.h"

namespace platform {

std::span<const uint8_t> ResourceBytes(std::string_view type, std::string_view name) {
    return host::ResourceBytes(type, name);
}

}  // namespace platform
