// A property-list file read whole: the printer list and the pieces file the program shows.
#ifndef HALYX_TOOLS_PROPERTYLISTFILE_H
#define HALYX_TOOLS_PROPERTYLISTFILE_H

#include <cstdio>

#include "CoreFoundation/CFPropertyList.h"

namespace halyx::tools {

// Reads `file` to its end and closes it. Returns the property list its bytes hold (the caller
// releases it), or nullptr when they hold none or the read failed; *readFailed says which.
CFPropertyListRef ReadPropertyListFile(std::FILE* file, bool* readFailed);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PROPERTYLISTFILE_H
