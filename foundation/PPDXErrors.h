// The error list of a parsed PPD.
//
// The list does not own its records: its owner deletes every record, then the list. First() and
// Next() walk it with one cursor, so one traversal at a time.
#ifndef HALYX_FOUNDATION_PPDXERRORS_H
#define HALYX_FOUNDATION_PPDXERRORS_H

#include "foundation/PPDXErrorObj.h"
#include "foundation/PointerList.h"

class PPDXErrors {
public:
    PPDXErrors();
    virtual ~PPDXErrors();

    // Appends the record (a null one is ignored); a record that cannot be listed for want of
    // memory is deleted, since its owner deletes only what the list holds.
    void Add(PPDXErrorObj* error);
    UInt32 Count() const { return mErrors.Size(); }
    bool Empty() const { return mErrors.Empty(); }

    // Moves the cursor to the first record and returns it; null for an empty list.
    PPDXErrorObj* First();
    // Advances the cursor and returns the record there; null past the end.
    PPDXErrorObj* Next();

    // Deletes every record and empties the list (for the list's owner).
    void DeleteAll();

private:
    PPDXErrors(const PPDXErrors&) = delete;
    PPDXErrors& operator=(const PPDXErrors&) = delete;

    PointerList mErrors;
    PointerListItr mCursor;
};

#endif  // HALYX_FOUNDATION_PPDXERRORS_H
