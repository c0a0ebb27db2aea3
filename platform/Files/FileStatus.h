// The one place where host error numbers become file-system statuses.
#ifndef HALYX_PLATFORM_FILES_FILESTATUS_H
#define HALYX_PLATFORM_FILES_FILESTATUS_H

#include "Base/MacTypes.h"

namespace halyx::files {

// The status for the host error `err` (an errno value); ioErr when nothing closer fits.
OSErr StatusFromErrno(int err);

}  // namespace halyx::files

#endif  // HALYX_PLATFORM_FILES_FILESTATUS_H
