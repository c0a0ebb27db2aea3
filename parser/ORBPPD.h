// The parser of PPD files that carry the print server's extension keywords, and the root of the
// option model it builds.
//
// The process-wide display options and supported-extensions mask are static members of this class
// for every caller above the model; their storage belongs to the model (ModelOptions), so that no
// model file needs the parser. The accessors here forward to it.
#ifndef HALYX_PARSER_ORBPPD_H
#define HALYX_PARSER_ORBPPD_H

#include "Base/MacTypes.h"
#include "PPDObjects/ModelOptions.h"
#include "parser/PPDX.h"

class ORBPPD : public PPDX {
public:
    // The display filter every model consults when it lists or shows its members.
    static _DISPLAY_OPTIONS_ Options() { return ModelOptions::Display(); }
    static void Options(_DISPLAY_OPTIONS_ options) { ModelOptions::SetDisplay(options); }
    // Bit 0 of the display options: orphans are listed.
    static void IncludeOrphans();
    // Bit 1 of the display options: hidden members are listed.
    static void IncludeHidden();
    // Each resets the whole set of display options to DISPLAY_NORMAL.
    static void ExcludeOrphans();
    static void ExcludeHidden();

    // The supported-extensions mask the job-note parser reads; every bit set at start.
    static _EXTENSIONS_SUPPORT_ GetExtensions() { return ModelOptions::Extensions(); }
    static void SetExtensions(_EXTENSIONS_SUPPORT_ extensions) {
        ModelOptions::SetExtensions(extensions);
    }

    // The same two values, as the members the model reads and writes.
    static _DISPLAY_OPTIONS_& sDisplayOptions;
    static _EXTENSIONS_SUPPORT_& sExtensionsSupport;
};

#endif  // HALYX_PARSER_ORBPPD_H
