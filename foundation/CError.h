// A plain error record: a numeric code, a user-facing description and whether the error is fatal.
#ifndef HALYX_FOUNDATION_CERROR_H
#define HALYX_FOUNDATION_CERROR_H

#include "foundation/CString.h"

class CError {
public:
    // Code 0, no description, not fatal.
    CError();
    CError(const short& code, const CString& description, const bool& fatal);
    CError(const CError& other);
    CError& operator=(const CError& other);

    bool operator==(const short& code) const { return mCode == code; }
    bool operator!=(const short& code) const { return mCode != code; }

    short Code() const { return mCode; }
    // The description, or null when there is none.
    const char* Description() const;
    void Description(const char* text);
    bool IsFatal() const { return mFatal; }

protected:
    short mCode;
    CString mDescription;
    bool mFatal;
};

#endif  // HALYX_FOUNDATION_CERROR_H
