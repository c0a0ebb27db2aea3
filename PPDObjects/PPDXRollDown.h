// A collapsible section of a scroll pane; it lists the controls whose parent it is. The roll-down
// owns its control collection but not the controls in it.
//
// Store records: the element's, then a one-byte 'RlDn' marker. The controls are not stored: they
// come back into the collection through their parent links when the hierarchy is resolved.
#ifndef HALYX_PPDOBJECTS_PPDXROLLDOWN_H
#define HALYX_PPDOBJECTS_PPDXROLLDOWN_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXGroup.h"

class PPDXControls;
class Settings;

class PPDXRollDown : public PPDXGroup {
public:
    static constexpr FourCharCode kMarkerTag = HALYX_FOUR_CHAR('R', 'l', 'D', 'n');

    // Every constructor starts an empty control collection.
    PPDXRollDown();
    PPDXRollDown(const char* keyword, CFStringRef localName, bool visible);
    PPDXRollDown(Settings& settings, SInt32 id);
    // Deletes the collection, not the controls.
    ~PPDXRollDown() override;

    // The roll-down's controls; null only when the collection could not be made.
    PPDXControls* Controls() const { return mControls; }

    // The element records (not the group marker), then the roll-down marker.
    OSErr Save(Settings& settings, SInt32 id) override;

private:
    PPDXControls* mControls;
};

#endif  // HALYX_PPDOBJECTS_PPDXROLLDOWN_H
