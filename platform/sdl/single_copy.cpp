// One copy per user: a lock the system drops when its holder dies.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/host.h"
#include "platform/identity.h"
#include "temp_folder.h"

namespace platform {

namespace {

// Opens this user's lock file without following a link, and only when it is a plain file of our
// own: a file planted by someone else could be held by them to keep us from ever starting.
// Returns the descriptor, or -1 with why it cannot serve.
int OpenLockFile(const std::string& path, std::string& why) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        why = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return -1;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        why = "it is not a regular file";
    } else if (status.st_uid != geteuid()) {
        why = "it is owned by another user";
    } else {
        return fd;
    }
    close(fd);
    return -1;
}

}  // namespace

// The lock is keyed on the user alone, never on the environment: copies started from a terminal
// and from a launcher, over ssh or with sudo -E see different variables and would both run. The
// copy that runs holds a lock on "/tmp/<program>-<uid>.lock", which the system drops when it dies.
bool host::AnotherCopyRuns() {
    static int lock = -1;
    if (lock >= 0) return false;
    const std::string path = UserTempPath(".lock");
    std::string why;
    const int fd = OpenLockFile(path, why);
    if (fd < 0) {
        // Better to play unguarded than to refuse: someone else's file must not stop the game.
        std::fprintf(stderr, "%s: not checking for another copy: cannot use '%s': %s\n",
                     Program().title.c_str(), path.c_str(), why.c_str());
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return true;
    }
    lock = fd;  // held, and so the lock, until this copy ends
    return false;
}

}  // namespace platform
