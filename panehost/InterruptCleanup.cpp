#include "panehost/InterruptCleanup.h"

#include <signal.h>
#include <unistd.h>

#include <vector>

namespace halyx::panehost {

namespace {

const int kSignals[] = {SIGINT, SIGTERM};

// Changed only while the signals are blocked, so the handler never sees a list half changed.
std::vector<std::string>& Paths() {
    static std::vector<std::string>* paths = new std::vector<std::string>();
    return *paths;
}

// Uses only unlink, rmdir, signal and raise, which a signal handler may call.
void RemoveAndGoOn(int signal) {
    const std::vector<std::string>& paths = Paths();
    for (size_t i = paths.size(); i > 0; --i)
        if (unlink(paths[i - 1].c_str()) != 0) rmdir(paths[i - 1].c_str());
    ::signal(signal, SIG_DFL);
    raise(signal);
}

void InstallOnce() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (int signal : kSignals) {
        struct sigaction old;
        if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction action = {};
        action.sa_handler = RemoveAndGoOn;
        sigemptyset(&action.sa_mask);
        for (int other : kSignals) sigaddset(&action.sa_mask, other);
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

InterruptCleanup::Deferred::Deferred() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals) sigaddset(&set, signal);
    sigprocmask(SIG_BLOCK, &set, &mOld);
}

InterruptCleanup::Deferred::~Deferred() {
    sigprocmask(SIG_SETMASK, &mOld, nullptr);
}

void InterruptCleanup::Add(const std::string& path) {
    Deferred blocked;
    InstallOnce();
    Paths().push_back(path);
}

void InterruptCleanup::Forget(const std::string& path) {
    Deferred blocked;
    std::vector<std::string>& paths = Paths();
    for (size_t i = paths.size(); i > 0; --i) {
        const std::string& p = paths[i - 1];
        if (p == path || (p.size() > path.size() && p.compare(0, path.size(), path) == 0 &&
                          p[path.size()] == '/'))
            paths.erase(paths.begin() + static_cast<long>(i - 1));
    }
}

}  // namespace halyx::panehost
