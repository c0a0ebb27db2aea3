#include "tools/PPDLoader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "CoreFoundation/CFArray.h"
#include "layout/InstallLayout.h"
#include "CoreFoundation/CFString.h"
#include "Files/FileRecords.h"
#include "Files/FileForks.h"
#include "Resources/Resources.h"
#include "parser/ORBPPD.h"

namespace halyx::tools {

namespace {

// How much of the file the binary test looks at.
constexpr size_t kSniffBytes = 65536;

// Text files hold no NUL byte and few control characters; tabs, line ends, form feeds and the
// escape that job-control strings carry are ordinary.
bool LooksBinary(const unsigned char* bytes, size_t length) {
    size_t controls = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = bytes[i];
        if (c == 0) return true;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1B) ++controls;
    }
    return controls * 10 > length;
}

bool Exists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The model's parse options in the pane: orphans and hidden items are parsed.
constexpr _PARSE_OPTIONS_ kPaneParseOptions = ORBPPD::kParseOrphans | ORBPPD::kParseHidden;

}  // namespace

PPDLoader::~PPDLoader() {
    if (mModel != nullptr) mModel->Release();
}

std::vector<std::string> PPDLoader::SplitNames(const char* list) {
    std::vector<std::string> names;
    if (list == nullptr) return names;
    std::string piece;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == '\0') {
            // "A.PPD, B.PPD" is written as often as "A.PPD,B.PPD": blanks around a name go.
            const size_t first = piece.find_first_not_of(" \t");
            if (first != std::string::npos)
                names.push_back(piece.substr(first, piece.find_last_not_of(" \t") - first + 1));
            piece.clear();
            if (*p == '\0') break;
        } else {
            piece += *p;
        }
    }
    return names;
}

std::string PPDLoader::ErrorDescriptionsFile() {
    static const char kRelative[] = "/Contents/Resources/HalyxJobNotes.rsrc";
    {
        std::string path = layout::DefaultBundlePath() + kRelative;
        if (Exists(path)) return path;
        const char* bundle = std::getenv("HALYX_BUNDLE_DIR");
        if (bundle != nullptr && *bundle != '\0') return std::string();
    }
#ifdef HALYX_SOURCE_BUNDLE_RESOURCES
    {
        std::string path = std::string(HALYX_SOURCE_BUNDLE_RESOURCES) + "/HalyxJobNotes.rsrc";
        if (Exists(path)) return path;
    }
#endif
    return std::string();
}

bool PPDLoader::CheckFile(const char* path, std::string* message) {
    struct stat st;
    if (stat(path, &st) != 0) {
        *message = std::string(path) + ": " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        *message = std::string(path) + ": is a folder, not a PPD file";
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *message = std::string(path) + ": not a regular file";
        return false;
    }
    if (st.st_size == 0) {
        *message = std::string(path) + ": is empty, not a PPD file";
        return false;
    }
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        *message = std::string(path) + ": cannot be read: " + std::strerror(errno);
        return false;
    }
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(kSniffBytes));
    if (buffer == nullptr) {
        std::fclose(f);
        *message = std::string(path) + ": out of memory";
        return false;
    }
    const size_t got = std::fread(buffer, 1, kSniffBytes, f);
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    const bool binary = !readError && LooksBinary(buffer, got);
    std::free(buffer);
    if (readError) {
        *message = std::string(path) + ": cannot be read";
        return false;
    }
    if (binary) {
        *message = std::string(path) + ": holds binary data, not a PPD file";
        return false;
    }
    return true;
}

bool PPDLoader::Load(const char* path, std::string* message) {
    if (mModel != nullptr) {
        mModel->Release();
        mModel = nullptr;
    }
    mPath = path;
    if (!CheckFile(path, message)) return false;

    FSSpec spec;
    if (HalyxFSSpecFromPath(path, &spec) != noErr) {
        *message = std::string(path) + ": cannot be opened";
        return false;
    }

    CFMutableArrayRef names = nullptr;
    if (mHaveNames) {
        names = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
        if (names == nullptr) {
            *message = "out of memory";
            return false;
        }
        for (const std::string& name : mNames) {
            CFStringRef string =
                CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
            if (string == nullptr) continue;
            CFArrayAppendValue(names, string);
            CFRelease(string);
        }
    }

    // Error records take their descriptions from the current resource file when they are made.
    ResFileRefNum resources = -1;
    const std::string descriptions = ErrorDescriptionsFile();
    if (!descriptions.empty()) {
        FSSpec resourceSpec;
        if (HalyxFSSpecFromPath(descriptions.c_str(), &resourceSpec) == noErr)
            resources = FSpOpenResFile(&resourceSpec, fsRdPerm);
    }

    // With every error fatal the walk stops at the first error of any kind, as in the pane.
    ORBPPD* model = new (std::nothrow) ORBPPD(spec, kPaneParseOptions, names, mAllErrorsFatal);
    if (resources > 0) CloseResFile(resources);
    if (names != nullptr) CFRelease(names);
    if (model == nullptr) {
        *message = "out of memory";
        return false;
    }
    mModel = model;
    mModel->Retain();
    return true;
}

}  // namespace halyx::tools
