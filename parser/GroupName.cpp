#include "parser/GroupName.h"

#include <new>

#include "foundation/CString.h"

GroupName::GroupName(const char* name, CFStringRef translation, bool visible)
    : mName(new (std::nothrow) CString(name)),
      mTranslation(translation),
      mTranslationText(nullptr),
      mVisible(visible) {
    if (mTranslation != nullptr) {
        CFRetain(mTranslation);
        mTranslationText = new (std::nothrow) CString(mTranslation);
    }
}

GroupName::~GroupName() {
    delete mName;
    delete mTranslationText;
    if (mTranslation != nullptr) CFRelease(mTranslation);
}
