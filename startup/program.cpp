#include "program.h"

#include "platform/identity.h"

namespace startup {

void IdentifyProgram() {
    platform::Identify({"Puffpop", "puffpop", "ICONFILE"});
}

}  // namespace startup
