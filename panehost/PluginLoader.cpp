#include "panehost/PluginLoader.h"

#include <dirent.h>
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "panehost/InterruptCleanup.h"
#include "panehost/HostText.h"

namespace halyx::panehost {

namespace {

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsBundle(const std::string& path) {
    struct stat info;
    return IsFolder(path) && stat((path + "/Contents/Info.plist").c_str(), &info) == 0;
}

bool EndsWith(const std::string& text, const char* end) {
    std::string suffix(end);
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The bundles to try: `path` itself, or the ".plugin" and ".bundle" folders inside it by name.
std::vector<std::string> Candidates(const std::string& path) {
    std::vector<std::string> found;
    if (IsBundle(path)) {
        found.push_back(path);
        return found;
    }
    DIR* folder = opendir(path.c_str());
    if (folder == nullptr) return found;
    while (struct dirent* entry = readdir(folder)) {
        std::string name = entry->d_name;
        if (!EndsWith(name, ".plugin") && !EndsWith(name, ".bundle")) continue;
        std::string full = path + "/" + name;
        if (IsBundle(full)) found.push_back(full);
    }
    closedir(folder);
    std::sort(found.begin(), found.end());
    return found;
}

CFURLRef CreateFolderURL(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path.c_str()),
                                                   static_cast<CFIndex>(path.size()), true);
}

// The name of the function of the first factory that "CFPlugInTypes" lists for the print dialog
// extension type and "CFPlugInFactories" names; empty when there is none.
std::string FactoryFunctionName(CFBundleRef bundle) {
    CFTypeRef types = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInTypes"));
    CFTypeRef factories = CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFPlugInFactories"));
    if (types == nullptr || factories == nullptr || CFGetTypeID(types) != CFDictionaryGetTypeID() ||
        CFGetTypeID(factories) != CFDictionaryGetTypeID())
        return std::string();
    CFTypeRef listed =
        CFDictionaryGetValue(static_cast<CFDictionaryRef>(types), CFSTR(kPMPDEPlugInTypeIDStr));
    if (listed == nullptr || CFGetTypeID(listed) != CFArrayGetTypeID()) return std::string();
    CFArrayRef ids = static_cast<CFArrayRef>(listed);
    for (CFIndex i = 0; i < CFArrayGetCount(ids); ++i) {
        CFTypeRef id = CFArrayGetValueAtIndex(ids, i);
        if (id == nullptr || CFGetTypeID(id) != CFStringGetTypeID()) continue;
        // Factory identifiers are compared as identifiers, whatever the case of their text.
        CFUUIDRef wanted =
            CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(id));
        if (wanted == nullptr) continue;
        std::string name;
        CFIndex count = CFDictionaryGetCount(static_cast<CFDictionaryRef>(factories));
        std::vector<const void*> keys(static_cast<size_t>(count));
        std::vector<const void*> values(static_cast<size_t>(count));
        CFDictionaryGetKeysAndValues(static_cast<CFDictionaryRef>(factories), keys.data(),
                                     values.data());
        for (CFIndex k = 0; k < count && name.empty(); ++k) {
            if (CFGetTypeID(keys[k]) != CFStringGetTypeID() ||
                CFGetTypeID(values[k]) != CFStringGetTypeID())
                continue;
            CFUUIDRef key =
                CFUUIDCreateFromString(kCFAllocatorDefault, static_cast<CFStringRef>(keys[k]));
            if (key != nullptr && CFEqual(key, wanted))
                name = ToUTF8(static_cast<CFStringRef>(values[k]));
            if (key != nullptr) CFRelease(key);
        }
        CFRelease(wanted);
        if (!name.empty()) return name;
    }
    return std::string();
}

bool CopyFile(const std::string& from, const std::string& to) {
    FILE* in = fopen(from.c_str(), "rb");
    if (in == nullptr) return false;
    FILE* out = fopen(to.c_str(), "wb");
    bool ok = out != nullptr;
    char buffer[8192];
    size_t n;
    while (ok && (n = fread(buffer, 1, sizeof buffer, in)) > 0) ok = fwrite(buffer, 1, n, out) == n;
    if (ferror(in)) ok = false;
    fclose(in);
    if (out != nullptr && fclose(out) != 0) ok = false;
    return ok;
}

std::string AbsolutePath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

}  // namespace

PluginLoader::~PluginLoader() {
    if (mLibrary != nullptr) dlclose(mLibrary);
    if (mBundle != nullptr) CFRelease(mBundle);
    RemoveMirror();
}

bool PluginLoader::Load(const std::string& path, const std::string& printerList,
                        std::string* message) {
    if (!IsFolder(path)) {
        *message = "no plug-in folder at " + path;
        return false;
    }
    std::vector<std::string> candidates = Candidates(path);
    if (candidates.empty()) {
        *message = "no plug-in bundle in " + path;
        return false;
    }
    for (const std::string& candidate : candidates) {
        std::string bundlePath = candidate;
        if (!printerList.empty() && !Mirror(candidate, printerList, &bundlePath, message))
            return false;
        if (Open(bundlePath, message)) return true;
        RemoveMirror();
        if (!message->empty()) return false;
    }
    *message = "no print dialog extension in " + path;
    return false;
}

bool PluginLoader::Open(const std::string& bundlePath, std::string* message) {
    message->clear();
    CFURLRef url = CreateFolderURL(bundlePath);
    CFBundleRef bundle = url != nullptr ? CFBundleCreate(kCFAllocatorDefault, url) : nullptr;
    if (url != nullptr) CFRelease(url);
    if (bundle == nullptr) return false;
    std::string function = FactoryFunctionName(bundle);
    CFURLRef executable = function.empty() ? nullptr : CFBundleCopyExecutableURL(bundle);
    if (executable == nullptr) {
        if (!function.empty()) *message = "the bundle " + bundlePath + " has no executable";
        CFRelease(bundle);
        return false;
    }
    char file[PATH_MAX];
    bool named = CFURLGetFileSystemRepresentation(executable, true, reinterpret_cast<UInt8*>(file),
                                                  sizeof file);
    CFRelease(executable);
    void* library = named ? dlopen(file, RTLD_NOW | RTLD_LOCAL) : nullptr;
    void* factory = library != nullptr ? dlsym(library, function.c_str()) : nullptr;
    if (factory == nullptr) {
        const char* why = dlerror();
        *message = "cannot load the plug-in " + bundlePath + ": " +
                   (why != nullptr ? why : "no executable");
        if (library != nullptr) dlclose(library);
        CFRelease(bundle);
        return false;
    }
    mBundle = bundle;
    mLibrary = library;
    mFactory = reinterpret_cast<PMPlugInFactoryFunction>(factory);
    return true;
}

// The mirror links Info.plist, the executable's folder and the resources of the original, so the
// plug-in is the same; only the printer list differs.
bool PluginLoader::Mirror(const std::string& bundlePath, const std::string& printerList,
                          std::string* mirrored, std::string* message) {
    const char* tmp = getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/halyx-print-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) {
        *message = "cannot make a temporary folder";
        return false;
    }
    mMirrorRoot = pattern;
    InterruptCleanup::Add(mMirrorRoot);
    std::string original = AbsolutePath(bundlePath);
    size_t slash = original.find_last_of('/');
    mMirrorBundle = mMirrorRoot + "/" + original.substr(slash + 1);
    std::string contents = mMirrorBundle + "/Contents";
    InterruptCleanup::Add(mMirrorBundle);
    InterruptCleanup::Add(contents);
    bool ok = mkdir(mMirrorBundle.c_str(), 0755) == 0 && mkdir(contents.c_str(), 0755) == 0;
    DIR* folder = ok ? opendir((original + "/Contents").c_str()) : nullptr;
    ok = folder != nullptr;
    while (ok) {
        struct dirent* entry = readdir(folder);
        if (entry == nullptr) break;
        std::string name = entry->d_name;
        if (name == "." || name == ".." || name == "PrinterList.plist") continue;
        InterruptCleanup::Add(contents + "/" + name);
        ok =
            symlink((original + "/Contents/" + name).c_str(), (contents + "/" + name).c_str()) == 0;
    }
    if (folder != nullptr) closedir(folder);
    if (!ok) {
        *message = "cannot mirror the bundle " + bundlePath;
        return false;
    }
    InterruptCleanup::Add(contents + "/PrinterList.plist");
    if (!CopyFile(printerList, contents + "/PrinterList.plist")) {
        *message = "cannot read the printer list " + printerList;
        return false;
    }
    *mirrored = mMirrorBundle;
    return true;
}

void PluginLoader::RemoveMirror() {
    if (mMirrorRoot.empty()) return;
    std::string contents = mMirrorBundle + "/Contents";
    DIR* folder = opendir(contents.c_str());
    if (folder != nullptr) {
        while (struct dirent* entry = readdir(folder)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") unlink((contents + "/" + name).c_str());
        }
        closedir(folder);
    }
    rmdir(contents.c_str());
    rmdir(mMirrorBundle.c_str());
    rmdir(mMirrorRoot.c_str());
    InterruptCleanup::Forget(mMirrorRoot);
    mMirrorRoot.clear();
    mMirrorBundle.clear();
}

}  // namespace halyx::panehost
