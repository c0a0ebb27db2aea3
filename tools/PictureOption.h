// The --picture FILE option of print and show: the path checked before the pane is opened, and
// the outcome of writing the picture told to the person.
#ifndef HALYX_TOOLS_PICTUREOPTION_H
#define HALYX_TOOLS_PICTUREOPTION_H

#include <string>

#include "Base/MacTypes.h"

namespace halyx::tools {

// True when a picture can be written at `path`; otherwise says why on standard error, as
// `command` ("print", "show"), and returns false.
bool PicturePathUsable(const char* command, const std::string& path);

// True when writing the picture failed with `status`; then says so on standard error.
bool PictureFailed(const char* command, const std::string& path, OSStatus status);

}  // namespace halyx::tools

#endif  // HALYX_TOOLS_PICTUREOPTION_H
