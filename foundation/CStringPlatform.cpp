// Conversions from platform strings.
#include <cstring>

#include "Memory/MacMemory.h"
#include "foundation/CString.h"

CString::CString(CFStringRef text) : mBuffer(nullptr), mLength(0) {
    if (text == nullptr) return;
    CFIndex size = 2 * CFStringGetLength(text) + 1;
    char* block = NewPtr(static_cast<::Size>(size));
    if (block == nullptr) return;
    if (!CFStringGetCString(text, block, size, CFStringGetSystemEncoding())) {
        DisposePtr(block);
        return;
    }
    Adopt(block, static_cast<UInt32>(std::strlen(block)));
}

CString& CString::operator=(CFStringRef text) {
    if (text == nullptr) {
        SetBuffer("");
        return *this;
    }
    CFIndex size = CFStringGetLength(text) + 1;
    char* block = NewPtr(static_cast<::Size>(size));
    if (block != nullptr && CFStringGetCString(text, block, size, CFStringGetSystemEncoding())) {
        SetBuffer(block);
    } else {
        SetBuffer("");
    }
    if (block != nullptr) DisposePtr(block);
    return *this;
}
