// Bundles: the registry of bundle folders, Info.plist values, resources and strings tables.
#include "CoreFoundation/CFBundle.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "CoreFoundation/CFObject.h"
#include "CoreFoundation/CFPropertyList.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFStringObject.h"
#include "CoreFoundation/CFStringsTable.h"
#include "CoreFoundation/CFURLObject.h"

using halyxcf::CastTo;

struct __CFBundle : public halyxcf::CFObject {
    static constexpr CFTypeID kTypeID = halyxcf::kTypeBundle;
    __CFBundle() : CFObject(kTypeID) {}
    ~__CFBundle() override {
        CFRelease(mURL);
        CFRelease(mInfo);
        for (auto& table : mTables) CFRelease(table.second);
    }
    std::string Describe() const override { return "<bundle " + mPath + ">"; }

    std::string mPath;  // the bundle folder, normalized, no trailing "/"
    CFURLRef mURL = nullptr;
    CFDictionaryRef mInfo = nullptr;
    std::string mLocalization;  // "English.lproj", ... or empty when there is none
    // Strings tables by name, read on first use (NULL when missing or malformed).
    std::map<std::string, CFDictionaryRef> mTables;
};

namespace {

struct Registry {
    std::map<std::string, __CFBundle*> bundles;  // each holds one reference
    std::vector<std::string> searchFolders;
};

Registry& TheRegistry() {
    static auto* registry = new Registry();
    return *registry;
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return names;
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string UTF8Of(CFStringRef str) {
    const __CFString* s = CastTo<__CFString>(str);
    return s == nullptr ? std::string() : s->UTF8();
}

CFDataRef ReadFile(const std::string& path) {
    CFURLRef url = halyxcf::NewFileURL(path, false);
    CFDataRef data = nullptr;
    SInt32 status = 0;
    CFURLCreateDataAndPropertiesFromResource(nullptr, url, &data, nullptr, nullptr, &status);
    CFRelease(url);
    return data;
}

std::string ChooseLocalization(const std::string& resources) {
    std::vector<std::string> found;
    for (const std::string& name : ListFolder(resources)) {
        if (EndsWith(name, ".lproj") && IsDirectory(resources + "/" + name)) found.push_back(name);
    }
    for (const char* preferred : {"English.lproj", "en.lproj"}) {
        if (std::find(found.begin(), found.end(), preferred) != found.end()) return preferred;
    }
    return found.empty() ? std::string() : found.front();
}

__CFBundle* NewBundle(const std::string& path) {
    __CFBundle* bundle = new __CFBundle();
    bundle->mPath = path;
    bundle->mURL = halyxcf::NewFileURL(path, true);
    CFDataRef info = ReadFile(path + "/Contents/Info.plist");
    CFTypeRef plist = info == nullptr
                          ? nullptr
                          : CFPropertyListCreateWithData(nullptr, info, kCFPropertyListImmutable,
                                                         nullptr, nullptr);
    CFRelease(info);
    if (plist != nullptr && CFGetTypeID(plist) == CFDictionaryGetTypeID()) {
        bundle->mInfo = static_cast<CFDictionaryRef>(plist);
    } else {
        CFRelease(plist);
        bundle->mInfo =
            CFDictionaryCreate(nullptr, nullptr, nullptr, 0, &kCFTypeDictionaryKeyCallBacks,
                               &kCFTypeDictionaryValueCallBacks);
    }
    bundle->mLocalization = ChooseLocalization(path + "/Contents/Resources");
    return bundle;
}

// The registered bundle of `path` (made and registered when new); not retained for the caller.
__CFBundle* RegisteredBundle(const std::string& path) {
    Registry& registry = TheRegistry();
    auto found = registry.bundles.find(path);
    if (found != registry.bundles.end()) return found->second;
    if (!IsDirectory(path)) return nullptr;
    __CFBundle* bundle = NewBundle(path);
    registry.bundles.emplace(path, bundle);
    return bundle;
}

bool HasIdentifier(const __CFBundle* bundle, CFStringRef bundleID) {
    return CFEqual(CFDictionaryGetValue(bundle->mInfo, kCFBundleIdentifierKey), bundleID);
}

// The strings table `name` of `bundle`, read on first use.
CFDictionaryRef TableOf(__CFBundle* bundle, const std::string& name) {
    auto found = bundle->mTables.find(name);
    if (found != bundle->mTables.end()) return found->second;
    std::string resources = bundle->mPath + "/Contents/Resources/";
    std::vector<std::string> candidates;
    if (!bundle->mLocalization.empty())
        candidates.push_back(resources + bundle->mLocalization + "/" + name + ".strings");
    candidates.push_back(resources + name + ".strings");
    CFDictionaryRef table = nullptr;
    for (const std::string& path : candidates) {
        CFDataRef data = ReadFile(path);
        if (data == nullptr) continue;
        std::string error;
        table = halyxcf::ParseStringsTable(CFDataGetBytePtr(data),
                                           static_cast<size_t>(CFDataGetLength(data)), &error);
        CFRelease(data);
        break;
    }
    bundle->mTables.emplace(name, table);
    return table;
}

}  // namespace

extern "C" {

CFTypeID CFBundleGetTypeID(void) {
    return __CFBundle::kTypeID;
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
    const __CFURL* url = CastTo<__CFURL>(bundleURL);
    if (url == nullptr || !url->mIsFile) return nullptr;
    __CFBundle* bundle = RegisteredBundle(url->mPath);
    if (bundle != nullptr) bundle->Retain();
    return bundle;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
    if (CastTo<__CFString>(bundleID) == nullptr) return nullptr;
    Registry& registry = TheRegistry();
    for (auto& entry : registry.bundles) {
        if (HasIdentifier(entry.second, bundleID)) return entry.second;
    }
    std::vector<std::string> folders = registry.searchFolders;
    for (const std::string& folder : folders) {
        for (const std::string& name : ListFolder(folder)) {
            if (!EndsWith(name, ".plugin") && !EndsWith(name, ".bundle")) continue;
            __CFBundle* bundle = RegisteredBundle(folder + "/" + name);
            if (bundle != nullptr && HasIdentifier(bundle, bundleID)) return bundle;
        }
    }
    return nullptr;
}

void HalyxBundleAddSearchFolder(const char* posixPath) {
    if (posixPath == nullptr || *posixPath == '\0') return;
    CFURLRef url = halyxcf::NewFileURL(posixPath, true);
    std::string path = static_cast<const __CFURL*>(url)->mPath;
    CFRelease(url);
    std::vector<std::string>& folders = TheRegistry().searchFolders;
    if (std::find(folders.begin(), folders.end(), path) == folders.end()) folders.push_back(path);
}

void HalyxBundleResetRegistry(void) {
    Registry& registry = TheRegistry();
    std::map<std::string, __CFBundle*> bundles;
    bundles.swap(registry.bundles);
    registry.searchFolders.clear();
    for (auto& entry : bundles) CFRelease(entry.second);
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    if (b == nullptr) return nullptr;
    const void* identifier = CFDictionaryGetValue(b->mInfo, kCFBundleIdentifierKey);
    return CFGetTypeID(identifier) == CFStringGetTypeID() ? static_cast<CFStringRef>(identifier)
                                                          : nullptr;
}

CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    return b == nullptr ? nullptr : b->mInfo;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
    return CFDictionaryGetValue(CFBundleGetInfoDictionary(bundle), key);
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    return b == nullptr ? nullptr : static_cast<CFURLRef>(CFRetain(b->mURL));
}

CFURLRef CFBundleCopyResourcesDirectoryURL(CFBundleRef bundle) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    return b == nullptr ? nullptr : halyxcf::NewFileURL(b->mPath + "/Contents/Resources", true);
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    if (b == nullptr) return nullptr;
    std::string name = UTF8Of(static_cast<CFStringRef>(
        CFBundleGetValueForInfoDictionaryKey(bundle, kCFBundleExecutableKey)));
    if (name.empty()) return nullptr;
    std::string path = b->mPath + "/Contents/MacOS/" + name;
    return Exists(path) ? halyxcf::NewFileURL(path, false) : nullptr;
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
    const __CFBundle* b = CastTo<__CFBundle>(bundle);
    std::string name = UTF8Of(resourceName);
    if (b == nullptr || name.empty()) return nullptr;
    std::string type = UTF8Of(resourceType);
    if (!type.empty()) name += (type[0] == '.' ? "" : ".") + type;
    std::string subdir = UTF8Of(subDirName);
    if (!subdir.empty()) subdir += "/";
    std::string resources = b->mPath + "/Contents/Resources/";
    std::vector<std::string> candidates = {resources + subdir + name};
    if (!b->mLocalization.empty())
        candidates.push_back(resources + b->mLocalization + "/" + subdir + name);
    for (const std::string& path : candidates) {
        if (Exists(path)) return halyxcf::NewFileURL(path, IsDirectory(path));
    }
    return nullptr;
}

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName) {
    __CFBundle* b = CastTo<__CFBundle>(bundle);
    CFStringRef fallback = CFStringGetLength(value) > 0 ? value : key;
    if (b == nullptr || key == nullptr) return static_cast<CFStringRef>(CFRetain(fallback));
    std::string table = tableName == nullptr ? std::string("Localizable") : UTF8Of(tableName);
    const void* found = CFDictionaryGetValue(TableOf(b, table), key);
    return static_cast<CFStringRef>(CFRetain(found != nullptr ? found : fallback));
}

}  // extern "C"
