#include "tools/PrinterListNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFPropertyList.h"
#include "layout/InstallLayout.h"
#include "tools/PPDText.h"

namespace halyx::tools {

std::string BundlePrinterListPath() {
    return layout::DefaultBundlePath() + "/Contents/PrinterList.plist";
}

bool PrinterListReadable(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool ReadPrinterListNames(const std::string& path, std::vector<std::string>* names,
                          std::string* message) {
    names->clear();
    const std::string cannotRead = "cannot read the printer list " + path;
    if (!PrinterListReadable(path)) {
        *message = cannotRead;
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *message = cannotRead;
        return false;
    }
    std::string bytes;
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        *message = cannotRead;
        return false;
    }
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                                  static_cast<CFIndex>(bytes.size()));
    CFPropertyListRef list = data != nullptr ? CFPropertyListCreateWithData(
                                                   kCFAllocatorDefault, data, 0, nullptr, nullptr)
                                             : nullptr;
    if (data != nullptr) CFRelease(data);
    CFTypeRef array =
        list != nullptr && CFGetTypeID(list) == CFDictionaryGetTypeID()
            ? CFDictionaryGetValue(static_cast<CFDictionaryRef>(list), CFSTR("PCFILENAME"))
            : nullptr;
    const bool found = array != nullptr && CFGetTypeID(array) == CFArrayGetTypeID();
    for (CFIndex i = 0; found && i < CFArrayGetCount(static_cast<CFArrayRef>(array)); ++i) {
        CFTypeRef name = CFArrayGetValueAtIndex(static_cast<CFArrayRef>(array), i);
        if (name != nullptr && CFGetTypeID(name) == CFStringGetTypeID())
            names->push_back(Utf8FromCFString(static_cast<CFStringRef>(name)));
    }
    if (list != nullptr) CFRelease(list);
    if (!found) *message = "the printer list " + path + " holds no PCFILENAME array";
    return found;
}

}  // namespace halyx::tools
