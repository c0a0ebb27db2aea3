// Where the print server's filter puts a PostScript piece in the job: the numeric site stored with
// each piece that ORBJobTicket collects.
#ifndef HALYX_CORE_POSTSCRIPTINJECTIONSITE_H
#define HALYX_CORE_POSTSCRIPTINJECTIONSITE_H

#include "Base/MacTypes.h"

typedef SInt32 PostScriptInjectionSite;

enum : PostScriptInjectionSite {
    kPSInjectionRange = 20,        // a range's PostScript
    kPSInjectionNoteComment = 30,  // a job note's comment line
    kPSInjectionNoteFeature = 81,  // a job note's feature code
    kPSInjectionOrientation = 504  // the "%%Orientation:" comment
};

#endif  // HALYX_CORE_POSTSCRIPTINJECTIONSITE_H
