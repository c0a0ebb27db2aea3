// Files and folders that are of no use once the program is gone: the mirror of a bundle that
// carries another printer list, and a pieces file whose name the person has not yet been shown.
// Should SIGINT or SIGTERM end the program, they are removed, the last added first, before the
// signal takes its ordinary course; a signal the program was started ignoring stays ignored.
#ifndef HALYX_PANEHOST_INTERRUPTCLEANUP_H
#define HALYX_PANEHOST_INTERRUPTCLEANUP_H

#include <signal.h>

#include <string>

namespace halyx::panehost {

class InterruptCleanup {
public:
    // Adds a path: a file, a link or a folder emptied by the removals before it.
    static void Add(const std::string& path);
    // Forgets `path` and every path under it (removed, or to be kept after all).
    static void Forget(const std::string& path);

    // While one exists, SIGINT and SIGTERM wait: a file made in that time is added before the
    // signal can end the program.
    class Deferred {
    public:
        Deferred();
        ~Deferred();

    private:
        Deferred(const Deferred&) = delete;
        Deferred& operator=(const Deferred&) = delete;
        sigset_t mOld;
    };

private:
    InterruptCleanup() = delete;
};

}  // namespace halyx::panehost

#endif  // HALYX_PANEHOST_INTERRUPTCLEANUP_H
