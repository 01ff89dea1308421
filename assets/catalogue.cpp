#include "catalogue.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "assets_table.h"
#include "platform/embedded.h"
#include "platform/error.h"

namespace assets {

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::vector<uint8_t> LoadResData(std::string_view name, std::string_view type) {
    for (const AssetRow& asset : kAssetTable) {
        if (!SameLetters(asset.name, name) || !SameLetters(asset.type, type)) continue;
        const auto bytes = platform::EmbeddedBytes(asset.file);
        if (bytes.empty()) break;
        return {bytes.begin(), bytes.end()};
    }
    throw platform::RuntimeError(platform::kResourceNotFound,
                                 "Resource with identifier '" + std::string(name) + "' of type '" +
                                     std::string(type) + "' not found");
}

}  // namespace assets
