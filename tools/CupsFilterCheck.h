// Whether a PPD with the print server's job notes lets a CUPS queue made from it run the print
// server's filter: without a *cupsFilter2 (or *cupsFilter) line naming HalyxCupsFilter, CUPS prints
// the job but the notes typed in the pane never reach it.
#ifndef HALYX_TOOLS_CUPSFILTERCHECK_H
#define HALYX_TOOLS_CUPSFILTERCHECK_H

#include <string>

namespace halyx::tools {

// The PPD's text (any line endings). "" when the PPD has no job note ("*%ORBJobNote" lines) or
// runs the filter on structured PostScript; otherwise one line saying what is missing.
std::string CupsFilterWarning(const std::string& ppdText);
// The same for the PPD file at `path`; "" when it cannot be read.
std::string CupsFilterWarningForFile(const char* path);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_CUPSFILTERCHECK_H
