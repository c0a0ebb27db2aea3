#include "layout/InstallLayout.h"

#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "layout/HalyxVersion.h"

namespace halyx::layout {

namespace {

bool Exists(const std::string& path) {
    return !path.empty() && access(path.c_str(), F_OK) == 0;
}

// `relative` taken from the executable's folder; empty when that folder is unknown.
std::string FromExecutable(const char* relative) {
    std::string folder = ExecutableFolder();
    if (folder.empty()) return std::string();
    return folder + "/" + relative;
}

}  // namespace

std::string ExecutableFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    path[length] = '\0';
    std::string full(path, static_cast<size_t>(length));
    size_t slash = full.find_last_of('/');
    if (slash == std::string::npos) return std::string();
    return slash == 0 ? std::string("/") : full.substr(0, slash);
}

std::string DefaultBundlePath() {
    const char* environment = std::getenv("HALYX_BUNDLE_DIR");
    if (environment != nullptr && *environment != '\0') return environment;
    std::string installed = FromExecutable(HALYX_INSTALL_BUNDLE_FROM_BIN);
    if (Exists(installed + "/Contents/Info.plist")) return installed;
    return HALYX_BUILD_BUNDLE_DIR;
}

std::string SamplePPDPath() {
    std::string installed = FromExecutable(HALYX_INSTALL_PPD_FROM_BIN "/HalyxSample.ppd");
    if (Exists(installed)) return installed;
    return HALYX_SOURCE_EXAMPLES_DIR "/HalyxSample.ppd";
}

void PrintVersion(const char* programName) {
    std::printf("%s %s\n", programName, HALYX_VERSION);
}

}  // namespace halyx::layout
