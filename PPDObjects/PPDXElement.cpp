#include "PPDObjects/PPDXElement.h"

#include <cstring>
#include <new>

#include "PPDObjects/ModelRecords.h"
#include "PPDUtils/TextConverter.h"
#include "foundation/CString.h"
#include "settings/Settings.h"
#include "settings/SettingsStrings.h"

namespace {

const FourCharCode kKeywordTag = HALYX_FOUR_CHAR('K', 'y', 'W', 'd');
const FourCharCode kUserNameTag = HALYX_FOUR_CHAR('L', 'c', 'N', 'm');
const FourCharCode kLocalNameTag = HALYX_FOUR_CHAR('L', 'c', 'C', 'F');
const FourCharCode kVisibleTag = HALYX_FOUR_CHAR('i', 's', 'V', 's');
const FourCharCode kParentTag = HALYX_FOUR_CHAR('P', 'r', 'N', 'm');

// The byte-string form of a display name written with the store records is converted through a
// buffer of this size.
const UInt32 kSavedUserNameBuffer = 512;

// Converts `string` through a buffer of `bufferSize` bytes into a new CString; null when memory
// runs out.
CString* ConvertToNewCString(CFStringRef string, UInt32 bufferSize) {
    char* buffer = new (std::nothrow) char[bufferSize];
    if (buffer == nullptr) return nullptr;
    TextConverter::CFStringToCstring(string, buffer, bufferSize);
    CString* text = NewModelString(buffer);
    delete[] buffer;
    return text;
}

// Four bytes per character of the string, and room for the terminator of an empty one.
UInt32 ConversionBufferSize(CFStringRef string) {
    CFIndex length = CFStringGetLength(string);
    return static_cast<UInt32>(length > 0 ? length * 4 : 1);
}

}  // namespace

CString* CFStringToCString(CFStringRef string) {
    if (string == nullptr) return nullptr;
    return ConvertToNewCString(string, ConversionBufferSize(string));
}

PPDXElement::PPDXElement()
    : mKeyword(nullptr),
      mUserName(nullptr),
      mLocalName(nullptr),
      mVisible(false),
      mParent(nullptr),
      mPendingParent(nullptr) {}

PPDXElement::PPDXElement(const char* keyword, CFStringRef localName, bool visible) : PPDXElement() {
    if (keyword != nullptr && keyword[0] != '\0') mKeyword = NewModelString(keyword);
    if (localName != nullptr) mLocalName = static_cast<CFStringRef>(CFRetain(localName));
    mVisible = visible;
}

PPDXElement::PPDXElement(Settings& settings, SInt32 id) : PPDXElement() {
    mKeyword = GetSettingsString(settings, kKeywordTag, id);
    mLocalName = GetSettingsCFString(settings, kLocalNameTag, id);
    // In the order Save writes them, so that each look-up finds its record just past the last.
    UInt8 visible = 0;
    if (ReadModelRecordExactly(settings, kVisibleTag, id, &visible, 1)) mVisible = visible != 0;
    mPendingParent = GetSettingsString(settings, kParentTag, id);
}

PPDXElement::~PPDXElement() {
    delete mKeyword;
    delete mUserName;
    delete mPendingParent;
    if (mLocalName != nullptr) CFRelease(mLocalName);
}

bool PPDXElement::OkayToDisplay(_DISPLAY_OPTIONS_ options) {
    switch (options) {
        case DISPLAY_NORMAL:
            return mVisible && !IsOrphan();
        case DISPLAY_VISIBLE:
            return mVisible;
        case DISPLAY_ATTACHED:
            return !IsOrphan();
        default:
            return true;
    }
}

const char* PPDXElement::Keyword() const {
    return mKeyword != nullptr ? static_cast<const char*>(*mKeyword) : nullptr;
}

const char* PPDXElement::UserName() {
    if (mLocalName == nullptr) return nullptr;
    if (mUserName == nullptr) {
        mUserName = ConvertToNewCString(mLocalName, ConversionBufferSize(mLocalName));
    }
    return mUserName != nullptr ? static_cast<const char*>(*mUserName) : nullptr;
}

const char* PPDXElement::PendingParentKeyword() const {
    return mPendingParent != nullptr ? static_cast<const char*>(*mPendingParent) : nullptr;
}

void PPDXElement::ResolveParent(PPDXElement* parent) {
    delete mPendingParent;
    mPendingParent = nullptr;
    mParent = parent;
}

bool PPDXElement::operator==(const PPDXElement& other) const {
    const char* mine = Keyword();
    const char* theirs = other.Keyword();
    return mine != nullptr && theirs != nullptr && std::strcmp(mine, theirs) == 0;
}

bool PPDXElement::operator==(const char* keyword) const {
    const char* mine = Keyword();
    return mine != nullptr && keyword != nullptr && std::strcmp(mine, keyword) == 0;
}

OSErr PPDXElement::Save(Settings& settings, SInt32 id) {
    // The string records are written on a best-effort basis: only the flag and the parent link
    // report their status.
    if (mKeyword != nullptr) WriteModelString(settings, kKeywordTag, id, Keyword());
    if (mLocalName != nullptr) {
        if (mUserName == nullptr) mUserName = ConvertToNewCString(mLocalName, kSavedUserNameBuffer);
        if (mUserName != nullptr) {
            WriteModelString(settings, kUserNameTag, id, static_cast<const char*>(*mUserName));
        }
        WriteModelCFString(settings, kLocalNameTag, id, mLocalName);
    }
    OSStatus status = WriteModelBool(settings, kVisibleTag, id, mVisible);
    const char* parentKeyword = mParent != nullptr ? mParent->Keyword() : PendingParentKeyword();
    if (parentKeyword != nullptr)
        status = WriteModelString(settings, kParentTag, id, parentKeyword);
    return static_cast<OSErr>(status);
}
