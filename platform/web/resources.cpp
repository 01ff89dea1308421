// Most of the game's files travel inside the WebAssembly gzip-compressed, a third of their size,
// since the page downloads them before its first frame; the browser inflates each the first time
// it is asked for, and it is kept.
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "platform/error.h"
#include "web_host.h"

namespace platform {

std::span<const uint8_t> InflateEmbedded(std::span<const uint8_t> packed, size_t size) {
    static std::map<const uint8_t*, std::vector<uint8_t>> inflated;
    const auto kept = inflated.find(packed.data());
    if (kept != inflated.end()) return kept->second;
    std::vector<uint8_t> bytes(size);
    if (!puffpop_web_inflate(packed.data(), static_cast<uint32_t>(packed.size()), bytes.data(),
                             static_cast<uint32_t>(size)))
        throw RuntimeError(kFileAccess,
                           "Cannot unpack the game's files from puffpop.wasm: this browser cannot "
                           "inflate them (DecompressionStream), or the file is damaged");
    return inflated.emplace(packed.data(), std::move(bytes)).first->second;
}

}  // namespace platform
