#include "foundation/PPDXErrorObj.h"

#include <cstring>

#include "Resources/Resources.h"

PPDXErrorObj::PPDXErrorObj() {}

PPDXErrorObj::PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal)
    : mKeyword(keyword) {
    mCode = code;
    mFatal = fatal;
    LookUpDescription();
}

PPDXErrorObj::PPDXErrorObj(const short& code, const bool& fatal) {
    mCode = code;
    mFatal = fatal;
    LookUpDescription();
}

PPDXErrorObj::PPDXErrorObj(const PPDXErrorObj& other) : CError(other), mKeyword(other.mKeyword) {}

PPDXErrorObj& PPDXErrorObj::operator=(const PPDXErrorObj& other) {
    CError::operator=(other);
    mKeyword = other.mKeyword;
    return *this;
}

void PPDXErrorObj::LookUpDescription() {
    if (mCode < 1) return;
    short previous = CurResFile();
    Str255 text;
    text[0] = 0;
    GetIndString(text, kErrorDescriptionsID, mCode);
    if (text[0] > 0) {
        char plain[256];
        std::memcpy(plain, text + 1, text[0]);
        plain[text[0]] = '\0';
        mDescription = plain;
    }
    UseResFile(previous);
}
