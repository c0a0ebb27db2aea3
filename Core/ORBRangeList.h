// The numeric ranges of one parsed PPD that the pane shows, as editable entries, and their
// PostScript for the job. Ranges the pane does not edit (scale, margins, image positions, ranges
// in converted units and the image shift) are left out.
#ifndef HALYX_CORE_ORBRANGELIST_H
#define HALYX_CORE_ORBRANGELIST_H

#include "Base/MacTypes.h"
#include "Core/ORBRange.h"
#include "Core/PtrLinkList.h"
#include "PrintCore/PMSession.h"

class ORBJobTicket;
class ORBPPD;
class PPDXRangeControl;

class ORBRangeList : public PtrLinkList {
public:
    // Lists orphans from now on (a process-wide display option that is never cleared here). A
    // model without controls gives an invalid list; one without shown ranges an empty, valid one.
    explicit ORBRangeList(ORBPPD& ppd);

    // Adds each range's PostScript to `ticket`; a failed add ends the walk. The session is not
    // consulted.
    int outInjectionData(ORBJobTicket* ticket, PMPrintSession session);

    // Whether the list leaves `control` out.
    static bool IsExcluded(PPDXRangeControl* control);

    SInt16 Status() const { return status; }

private:
    SInt16 status;
};

#endif  // HALYX_CORE_ORBRANGELIST_H
