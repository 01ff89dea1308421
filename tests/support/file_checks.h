// What the files tests of both hosts share: bytes from a text, and the refusal of a path.
#pragma once

#include <gmock/gmock.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace testing_support {

inline std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// Raised as kFileAccess, the message naming the path and saying why.
inline auto Refused(const std::filesystem::path& path, const std::string& reason) {
    using namespace testing;
    return Throws<platform::RuntimeError>(
        AllOf(Property(&platform::RuntimeError::Number, platform::kFileAccess),
              Property(&platform::RuntimeError::what,
                       AllOf(HasSubstr("'" + path.string() + "'"), HasSubstr(reason)))));
}

}  // namespace testing_support
