#include "Core/PrinterListFile.h"

#include "CoreFoundation/CFDictionary.h"

PrinterListFile::PrinterListFile(CFURLRef folder, CFPropertyListMutabilityOptions mutability)
    : PropertyListFile(folder, CFSTR("PrinterList.plist"), mutability), mNames(nullptr) {
    if (mLoaded && CFGetTypeID(mPropertyList) == CFDictionaryGetTypeID()) {
        CFTypeRef names =
            CFDictionaryGetValue(static_cast<CFDictionaryRef>(mPropertyList), CFSTR("PCFILENAME"));
        if (names != nullptr && CFGetTypeID(names) == CFArrayGetTypeID())
            mNames = static_cast<CFArrayRef>(names);
    }
    mLoaded = mNames != nullptr;
}
