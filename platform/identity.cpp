#include "identity.h"

#include <utility>

namespace platform {

namespace {
Identity& Current() {
    static Identity identity;
    return identity;
}
}  // namespace

void Identify(Identity identity) {
    Current() = std::move(identity);
}

const Identity& Program() {
    return Current();
}

}  // namespace platform
