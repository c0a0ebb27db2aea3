// The job notes of one parsed PPD as editable entries, in the model's order, and their PostScript
// for the job: the orientation comment, a comment line for each special note, the authentication
// tag and each note's feature code.
#ifndef HALYX_CORE_ORBJOBNOTELIST_H
#define HALYX_CORE_ORBJOBNOTELIST_H

#include "Base/MacTypes.h"
#include "Core/ORBJobNote.h"
#include "Core/PtrLinkList.h"
#include "PrintCore/PMSession.h"

class ORBJobTicket;
class ORBPPD;

class ORBJobNoteList : public PtrLinkList {
public:
    // One entry per job note of the model; valid only when there is at least one and every entry
    // could be made (else the status holds memFullErr). `freshPPD` tells that the model was just
    // parsed, which switches on every note that is not an on/off switch.
    ORBJobNoteList(ORBPPD* ppd, bool freshPPD);

    // The first entry whose control's keyword is exactly `keyword`; null when none.
    ORBJobNote* find(const char* keyword) const;
    // The number of entries whose control is a password.
    int countProtectedFields();
    // Adds the job's pieces for every switched-on entry to `ticket`; paramErr for a null or
    // invalid ticket. Ticket lookup failures are reported but do not stop the entries; a failed
    // add or a feature that cannot be allocated ends the walk.
    SInt32 outInjectionData(ORBJobTicket* ticket, PMPrintSession session);
    void dumpData();

    SInt16 Status() const { return status; }
    ORBPPD* PPD() const { return ppd; }

private:
    SInt16 status;
    ORBPPD* ppd;
};

#endif  // HALYX_CORE_ORBJOBNOTELIST_H
