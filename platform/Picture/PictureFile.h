// The one place where the file system's error numbers become the picture's statuses.
#ifndef HALYX_PLATFORM_PICTURE_PICTUREFILE_H
#define HALYX_PLATFORM_PICTURE_PICTUREFILE_H

#include "Base/MacErrors.h"
#include "Base/MacTypes.h"

namespace halyx_picture {

OSStatus StatusFromErrno(int error);

}  // namespace halyx_picture

#endif  // HALYX_PLATFORM_PICTURE_PICTUREFILE_H
