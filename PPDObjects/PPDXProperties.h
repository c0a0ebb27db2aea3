// The list of property pages, which never owns them.
//
// Store records: the list size under tag 3000, id 3002 (four bytes), then each page with its own
// records under id 3001 + k. Pages carry no marker: every announced id is rebuilt as a page.
#ifndef HALYX_PPDOBJECTS_PPDXPROPERTIES_H
#define HALYX_PPDOBJECTS_PPDXPROPERTIES_H

#include "Base/MacTypes.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListItr.h"

class PPDXProperty;
class Settings;

class PPDXProperties {
public:
    static constexpr FourCharCode kCountTag = 3000;
    static constexpr SInt32 kCountId = 3002;
    static constexpr SInt32 kFirstId = 3001;

    PPDXProperties();
    // Rebuilds a page for every id the count record announces; a missing or malformed count
    // leaves the list empty.
    explicit PPDXProperties(Settings& settings);
    // Leaves the pages alive.
    virtual ~PPDXProperties();

    // Appends `page`; a null page is ignored.
    void Add(PPDXProperty* page);
    UInt32 Count() const { return mPages.Size(); }
    bool Empty() const { return mPages.Empty(); }

    // The next page, without display filter, or null.
    PPDXProperty* First();
    PPDXProperty* Next();
    // The first page whose keyword equals `keyword` (exact) or holds it; walks with First/Next.
    PPDXProperty* Find(const char* keyword, bool exact);

    // The count record, then each page; the first failure is returned.
    OSErr Save(Settings& settings);

private:
    PPDXProperty* SkipNull();

    PointerList mPages;
    PointerListItr mCursor;

    PPDXProperties(const PPDXProperties&) = delete;
    PPDXProperties& operator=(const PPDXProperties&) = delete;
};

#endif  // HALYX_PPDOBJECTS_PPDXPROPERTIES_H
