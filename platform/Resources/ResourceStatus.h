// Lets the resource service's own files set the status ResError() reports.
#ifndef HALYX_PLATFORM_RESOURCES_RESOURCESTATUS_H
#define HALYX_PLATFORM_RESOURCES_RESOURCESTATUS_H

#include "Base/MacTypes.h"

namespace halyx::resources {

void SetResError(OSErr err);

}  // namespace halyx::resources

#endif  // HALYX_PLATFORM_RESOURCES_RESOURCESTATUS_H
