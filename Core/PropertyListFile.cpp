#include "Core/PropertyListFile.h"

PropertyListFile::PropertyListFile(CFURLRef folder, CFStringRef fileName,
                                   CFPropertyListMutabilityOptions mutability)
    : PropertyListFile(folder, fileName) {
    Read(mutability);
}

PropertyListFile::PropertyListFile(CFURLRef folder, CFStringRef fileName)
    : mURL(nullptr), mXMLData(nullptr), mPropertyList(nullptr), mLoaded(false), mError(noErr) {
    if (folder == nullptr || fileName == nullptr) return;
    mURL = CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folder, fileName, false);
}

void PropertyListFile::Read(CFPropertyListMutabilityOptions mutability) {
    if (mURL == nullptr) return;
    if (!CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, mURL, &mXMLData, nullptr,
                                                  nullptr, &mError))
        return;
    mPropertyList =
        CFPropertyListCreateFromXMLData(kCFAllocatorDefault, mXMLData, mutability, nullptr);
    mLoaded = mPropertyList != nullptr;
}

PropertyListFile::~PropertyListFile() {
    if (mPropertyList != nullptr) CFRelease(mPropertyList);
    if (mXMLData != nullptr) CFRelease(mXMLData);
    if (mURL != nullptr) CFRelease(mURL);
}
