#include "catalogue.h"

#include <string>

#include "platform/embedded.h"
#include "platform/error.h"

namespace assets {

std::vector<uint8_t> LoadResData(std::string_view name, std::string_view type) {
    const auto bytes = platform::ResourceBytes(type, name);
    if (bytes.empty())
        throw platform::RuntimeError(platform::kResourceNotFound,
                                     "Resource with identifier '" + std::string(name) +
                                         "' of type '" + std::string(type) + "' not found");
    return {bytes.begin(), bytes.end()};
}

}  // namespace assets
