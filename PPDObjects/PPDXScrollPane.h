// The scrolling area of a property page; it lists the roll-downs whose parent it is. The pane owns
// its group collection but not the roll-downs in it.
//
// Store records: the element's, then a one-byte 'ScPn' marker. The roll-downs are not stored: they
// come back through their parent links when the hierarchy is resolved.
#ifndef HALYX_PPDOBJECTS_PPDXSCROLLPANE_H
#define HALYX_PPDOBJECTS_PPDXSCROLLPANE_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXGroup.h"

class PPDXGroups;
class Settings;

class PPDXScrollPane : public PPDXGroup {
public:
    static constexpr FourCharCode kMarkerTag = HALYX_FOUR_CHAR('S', 'c', 'P', 'n');

    // Every constructor starts an empty roll-down collection.
    PPDXScrollPane();
    PPDXScrollPane(const char* keyword, CFStringRef localName, bool visible);
    PPDXScrollPane(Settings& settings, SInt32 id);
    // Deletes the collection, not the roll-downs.
    ~PPDXScrollPane() override;

    // The pane's roll-downs; null only when the collection could not be made.
    PPDXGroups* RollDowns() const { return mRollDowns; }

    // The element records (not the group marker), then the pane marker.
    OSErr Save(Settings& settings, SInt32 id) override;

private:
    PPDXGroups* mRollDowns;
};

#endif  // HALYX_PPDOBJECTS_PPDXSCROLLPANE_H
