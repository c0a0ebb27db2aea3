/* The print headers compile as C: a C host builds a session and reads a ticket through them. */
#include "PrintCore/HalyxPrintHost.h"
#include "PrintCore/PrintCore.h"

/* The page format's orientation of a session made for `ppdPath` after the host turned it to
   landscape, read through the number the session keeps; -1 when any step fails. */
SInt32 HalyxLandscapeOrientationFromC(const char* ppdPath) {
    PMPrintSession session = NULL;
    CFTypeRef data = NULL;
    SInt32 number = 0;
    SInt32 orientation = -1;
    if (HalyxCreatePrintSession(ppdPath, &session) != kPMNoError) return -1;
    if (HalyxSessionSetOrientation(session, kPMLandscape) == kPMNoError &&
        PMSessionGetDataFromSession(session, kPDE_PMPageFormatRef, &data) == kPMNoError &&
        CFNumberGetValue((CFNumberRef)data, kCFNumberSInt32Type, &number)) {
        PMTicketGetSInt32(HalyxTicketRefFromNumber(number), kPMTopLevel, kPMTopLevel,
                          kPMOrientationKey, &orientation);
    }
    PMRelease(session);
    return orientation;
}
