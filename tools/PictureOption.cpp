#include "tools/PictureOption.h"

#include <cstdio>

#include "Picture/Picture.h"

namespace halyx::tools {

bool PicturePathUsable(const char* command, const std::string& path) {
    return !PictureFailed(command, path, HalyxCheckPicturePath(path.c_str()));
}

bool PictureFailed(const char* command, const std::string& path, OSStatus status) {
    if (status == noErr) return false;
    std::fprintf(stderr, "halyx-jobnotes %s: cannot write the picture %s: %s\n", command,
                 path.c_str(), HalyxPictureStatusText(status));
    return true;
}

}  // namespace halyx::tools
