// A parse error of a PPD: an error record that also names the keyword it concerns.
//
// The description is looked up when the record is made, as entry `code` of the string list
// kErrorDescriptionsID in the current resource file (the bundle's); a code without an entry leaves
// it empty. The current resource file is the same before and after the lookup.
#ifndef HALYX_FOUNDATION_PPDXERROROBJ_H
#define HALYX_FOUNDATION_PPDXERROROBJ_H

#include "foundation/CError.h"

class PPDXErrorObj : public CError {
public:
    // The string list holding one description per error code, counted from 1.
    static constexpr short kErrorDescriptionsID = -8900;

    PPDXErrorObj();
    PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal);
    PPDXErrorObj(const short& code, const bool& fatal);
    PPDXErrorObj(const PPDXErrorObj& other);
    PPDXErrorObj& operator=(const PPDXErrorObj& other);

    // The keyword, or null when the error concerns no particular keyword.
    const char* Keyword() const {
        return mKeyword.Empty() ? nullptr : static_cast<const char*>(mKeyword);
    }

private:
    void LookUpDescription();

    CString mKeyword;
};

#endif  // HALYX_FOUNDATION_PPDXERROROBJ_H
