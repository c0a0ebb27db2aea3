#include "foundation/CError.h"

CError::CError() : mCode(0), mFatal(false) {}

CError::CError(const short& code, const CString& description, const bool& fatal)
    : mCode(code), mDescription(description), mFatal(fatal) {}

CError::CError(const CError& other)
    : mCode(other.mCode), mDescription(other.mDescription), mFatal(other.mFatal) {}

CError& CError::operator=(const CError& other) {
    mCode = other.mCode;
    mDescription = other.mDescription;
    mFatal = other.mFatal;
    return *this;
}

const char* CError::Description() const {
    return mDescription.Empty() ? nullptr : static_cast<const char*>(mDescription);
}

void CError::Description(const char* text) {
    mDescription = text;
}
