// One copy per user: a named mutex in the session's namespace, which Windows drops with its
// last holder, so a crashed copy never blocks the next start.
#include <cstdio>
#include <string>

#include "platform/host.h"
#include "platform/identity.h"
#include "windows_api.h"

namespace platform {

// "Local\" keeps the name to this logon session: another user's copy, or one that user planted to
// keep ours from starting, lives in a namespace of its own.
bool host::AnotherCopyRuns() {
    static ::HANDLE mutex = nullptr;
    if (mutex != nullptr) return false;
    const std::string name = "Local\\" + Program().stem + "-single-copy";
    ::HANDLE handle = ::CreateMutexA(nullptr, FALSE, name.c_str());
    const DWORD error = ::GetLastError();
    if (handle == nullptr) {
        // Better to play unguarded than to refuse: an object of another kind holds the name.
        std::fprintf(stderr, "%s: not checking for another copy: cannot use '%s': error %lu\n",
                     Program().title.c_str(), name.c_str(), static_cast<unsigned long>(error));
        return false;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(handle);
        return true;
    }
    mutex = handle;  // held, and so the name, until this copy ends
    return false;
}

}  // namespace platform
