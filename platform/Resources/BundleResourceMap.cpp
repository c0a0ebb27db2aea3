#include <string>

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFString.h"
#include "CoreFoundation/CFURL.h"
#include "Files/FileForks.h"
#include "Files/FileRecords.h"
#include "Resources/ResourceStatus.h"
#include "Resources/Resources.h"

namespace {

const size_t kMaxPath = 4096;

std::string PathOfURL(CFURLRef url) {
    char path[kMaxPath];
    if (url == nullptr || !CFURLGetFileSystemRepresentation(url, true, (UInt8*)path, sizeof path)) {
        return std::string();
    }
    return path;
}

// The name the map file is called after: the executable's, else the bundle folder's.
std::string MapName(CFBundleRef bundle) {
    CFTypeRef executable =
        CFBundleGetValueForInfoDictionaryKey(bundle, CFSTR("CFBundleExecutable"));
    char name[256];
    if (executable != nullptr && CFGetTypeID(executable) == CFStringGetTypeID() &&
        CFStringGetCString((CFStringRef)executable, name, sizeof name, kCFStringEncodingUTF8) &&
        name[0] != '\0') {
        return name;
    }
    CFURLRef bundleURL = CFBundleCopyBundleURL(bundle);
    std::string folder = PathOfURL(bundleURL);
    if (bundleURL != nullptr) CFRelease(bundleURL);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder = folder.substr(folder.rfind('/') + 1);
    size_t dot = folder.rfind('.');
    return dot == std::string::npos || dot == 0 ? folder : folder.substr(0, dot);
}

}  // namespace

ResFileRefNum CFBundleOpenBundleResourceMap(CFBundleRef bundle) {
    if (bundle == nullptr) {
        halyx::resources::SetResError(paramErr);
        return -1;
    }
    CFURLRef resources = CFBundleCopyResourcesDirectoryURL(bundle);
    std::string directory = PathOfURL(resources);
    if (resources != nullptr) CFRelease(resources);
    std::string name = MapName(bundle);
    FSSpec spec;
    OSErr err = directory.empty() || name.empty()
                    ? (OSErr)fnfErr
                    : HalyxFSSpecFromPath((directory + "/" + name + ".rsrc").c_str(), &spec);
    if (err == fnfErr || err == dirNFErr) {
        halyx::resources::SetResError(resFNotFound);
        return -1;
    }
    if (err != noErr) {
        halyx::resources::SetResError(err);
        return -1;
    }
    return FSpOpenResFile(&spec, fsRdPerm);
}

void CFBundleCloseBundleResourceMap(CFBundleRef /*bundle*/, ResFileRefNum refNum) {
    CloseResFile(refNum);
}
