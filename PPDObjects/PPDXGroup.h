// A named set of options without a place of its own in the page layout (for example the group
// the job notes go into). Roll-downs and scroll panes are groups too.
//
// Store records: the element's, then a one-byte 'gGrp' marker under the same id.
#ifndef HALYX_PPDOBJECTS_PPDXGROUP_H
#define HALYX_PPDOBJECTS_PPDXGROUP_H

#include "Base/MacTypes.h"
#include "CoreFoundation/CFString.h"
#include "PPDObjects/PPDXElement.h"

class Settings;

class PPDXGroup : public PPDXElement {
public:
    static constexpr FourCharCode kMarkerTag = HALYX_FOUR_CHAR('g', 'G', 'r', 'p');

    PPDXGroup() {}
    PPDXGroup(const char* keyword, CFStringRef localName, bool visible)
        : PPDXElement(keyword, localName, visible) {}
    // The element part; the marker is not read.
    PPDXGroup(Settings& settings, SInt32 id) : PPDXElement(settings, id) {}
    ~PPDXGroup() override {}

    // The element records, then the marker.
    OSErr Save(Settings& settings, SInt32 id) override;
};

#endif  // HALYX_PPDOBJECTS_PPDXGROUP_H
