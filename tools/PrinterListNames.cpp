#include "tools/PrinterListNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFPropertyList.h"
#include "layout/InstallLayout.h"
#include "tools/PPDText.h"
#include "tools/PropertyListFile.h"

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
    bool readFailed = false;
    CFPropertyListRef list = ReadPropertyListFile(file, &readFailed);
    if (readFailed) {
        *message = cannotRead;
        return false;
    }
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
